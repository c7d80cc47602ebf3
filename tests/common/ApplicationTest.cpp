#include "common/Application.h"
#include "common/ErrorBox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

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

}  // namespace
}  // namespace brv
