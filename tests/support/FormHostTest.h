// A fixture that hosts an experiment form offscreen and reads its picture:
// for forms without a clock (redrawn on every change, or moved through time
// on a scroll bar); AnimatedFormTest adds a clock stepped by hand.
#pragma once

#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"

#include <QApplication>
#include <QImage>
#include <QSize>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace brv::test {

// Shows a form as the host would, without a window on the screen, and lets
// it lay itself out.
inline void ShowOffscreen(QWidget& form, QSize size)
{
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.resize(size);
    form.show();
    QApplication::processEvents();
}

// The picture as composed afresh: background and layers.
inline QImage ComposedPicture(TImage32& pic)
{
    TBitmap32 b;
    pic.PaintTo(b);
    return b.Image().copy();
}

template <class Form>
class FormHostTest : public ::testing::Test {
protected:
    explicit FormHostTest(QSize size) : size_(size) {}

    void SetUp() override
    {
        form = CreateForm<Form>();
        ShowOffscreen(*form, size_);
    }
    void TearDown() override
    {
        form.reset();
        SetScreenDpiOverride(0);
    }
    // The picture as shown: background and layers.
    QImage Picture() { return ComposedPicture(*form->Pic()); }

    std::unique_ptr<Form> form;

private:
    QSize size_;
};

}  // namespace brv::test
