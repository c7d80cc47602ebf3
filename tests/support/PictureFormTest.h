// A fixture that hosts an experiment form without a clock (one redrawn on
// every change, or moved through time on a scroll bar) offscreen, and reads
// its picture.
#pragma once

#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace brv::test {

template <class Form>
class PictureFormTest : public ::testing::Test {
protected:
    explicit PictureFormTest(QSize size) : size_(size) {}

    void SetUp() override
    {
        form = std::make_unique<Form>();
        form->setAttribute(Qt::WA_DontShowOnScreen);
        form->resize(size_);
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        SetScreenDpiOverride(0);
    }
    // The picture as shown: background and layers.
    QImage Picture()
    {
        TBitmap32 b(form->Pic()->width(), form->Pic()->height());
        form->Pic()->PaintTo(b);
        return b.Image().copy();
    }

    std::unique_ptr<Form> form;

private:
    QSize size_;
};

}  // namespace brv::test
