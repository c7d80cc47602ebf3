#include "common/Application.h"
#include "common/ErrorBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace brv {
namespace {

// An object whose handler fails on the user event, as a faulty form might.
class TFailingObject : public QObject {
public:
    int Handled = 0;

    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++Handled;
        throw std::runtime_error("handler failed " + std::to_string(Handled));
    }
};

class ApplicationTest : public ::testing::Test {
protected:
    std::vector<std::string> Reports;

    void SetUp() override
    {
        ASSERT_NE(qobject_cast<TBrevalisApplication*>(QCoreApplication::instance()), nullptr);
        SetErrorReporter([this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                Reports.emplace_back(e.what());
            }
            if (OnReport)
                OnReport();
        });
    }
    void TearDown() override { SetErrorReporter({}); }

    std::function<void()> OnReport;
};

TEST_F(ApplicationTest, ErrorFromAHandlerIsReportedAndTheLoopGoesOn)
{
    TFailingObject failing;
    QEvent sent(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&failing, &sent));

    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&failing, QEvent::User);

    EXPECT_EQ(Reports, (std::vector<std::string>{"handler failed 1", "handler failed 2"}));
}

TEST_F(ApplicationTest, ErrorWhileAnErrorIsShownIsNotReportedAgain)
{
    TFailingObject failing;
    // The error box runs a loop of its own, in which the failing handler can
    // run again; that must not open a second box (or a box per repaint).
    OnReport = [&failing] {
        QEvent again(QEvent::User);
        QCoreApplication::sendEvent(&failing, &again);
    };
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&failing, &first);
    EXPECT_EQ(failing.Handled, 2);
    EXPECT_EQ(Reports, (std::vector<std::string>{"handler failed 1"}));

    // Once that box is closed, the next error is shown again.
    OnReport = nullptr;
    QEvent later(QEvent::User);
    QCoreApplication::sendEvent(&failing, &later);
    EXPECT_EQ(Reports.size(), 2U);
}

TEST(ErrorBox, IsACriticalBoxOverItsWindowWithTheProgramsName)
{
    QApplication::setApplicationDisplayName(QStringLiteral("Brevalis "));
    QWidget window;
    QString title, text;
    QWidget* parent = nullptr;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // The box is modal: read it and close it from inside its own loop.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        parent = box->parentWidget();
        box->close();
    });
    ShowErrorBox(&window, QStringLiteral("The lesson index could not be read."));
    EXPECT_EQ(title, QStringLiteral("Brevalis "));
    EXPECT_EQ(text, QStringLiteral("The lesson index could not be read."));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(parent, &window);
}

}  // namespace
}  // namespace brv
