// The Results panel driven as a pupil drives it: the bouncing ball's form
// beside it, Record, typing, Tab and Enter, an anomaly, undo, another
// experiment and back, a restart, and the table leaving the program.
#include "experiments/chemistry/uKinetic.h"
#include "experiments/physics/uBall.h"
#include "experiments/physics/uCar.h"
#include "notebook/ResultsPanel.h"

#include "experiments/ExperimentCatalogue.h"
#include "experiments/ResultsTables.h"
#include "notebook/ResultsExport.h"
#include "notebook/ResultsGraph.h"
#include "runtime/ExperimentForm.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace brv {
namespace {

TExperimentForm* NewForm(ExperimentId id)
{
    return TCatalogue::Instance().Find(id)->create();
}

// A CSV reader written apart from the writer: RFC 4180 fields, quotes
// doubled inside quoted fields, CRLF between records.
std::vector<QStringList> ParseCsv(const QString& text)
{
    std::vector<QStringList> records(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back() << field;
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            records.back() << field;
            field.clear();
            records.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    if (records.back().isEmpty() && field.isEmpty())
        records.pop_back();
    return records;
}

class ResultsPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterExperiments();
        RegisterResultsTables();
        QLocale::setDefault(QLocale::c());
        ball.reset(NewForm(ids::Ball));
        ball->resize(600, 400);
        panel = NewPanel();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    std::unique_ptr<TResultsPanel> NewPanel()
    {
        auto p = std::make_unique<TResultsPanel>(nullptr, TResultsStore(dir.path()));
        p->resize(900, 360);
        p->SetExperiment(ids::Ball, ball.get(), QStringLiteral("Bouncing ball experiment"));
        p->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(p.get()));
        return p;
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : panel.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }
    void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    QString Cell(int row, int column) const { return panel->Model()->CellText(row, column); }
    void SetDropHeightAndTemperature(int tenthsOfCm, int celsius)
    {
        ball->findChild<QScrollBar*>(QStringLiteral("BallHsb"))->setValue(tenthsOfCm);
        ball->Toolbar()->findChild<QSpinBox*>(QStringLiteral("TemperatureSE"))->setValue(celsius);
    }

    QTemporaryDir dir;
    std::unique_ptr<TExperimentForm> ball;
    std::unique_ptr<TResultsPanel> panel;
};

TEST_F(ResultsPanelTest, RecordFillsTheSettingsAndLeavesTheReadingToThePupil)
{
    SetDropHeightAndTemperature(400, 20);
    Key(Qt::Key_R, Qt::ControlModifier);
    TResultsModel* model = panel->Model();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "40.0");
    EXPECT_EQ(Cell(0, model->ControlColumn(0)), "20 ºC");
    for (int r = 0; r < model->Repeats(); ++r)
        EXPECT_EQ(Cell(0, model->RepeatColumn(r)), "") << "a reading was filled in";
    // The editor is open on the first reading.
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(panel->Table->currentIndex(), model->index(0, model->RepeatColumn(0)));

    Type(QStringLiteral("29.4"));
    Key(Qt::Key_Tab);
    Type(QStringLiteral("about 30"));
    Key(Qt::Key_Tab);
    EXPECT_TRUE(panel->Message().contains("about 30")) << panel->Message().toStdString();
    EXPECT_EQ(Cell(0, model->RepeatColumn(1)), "") << "a refused value was kept";
    ASSERT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr)
        << "the editor closed on a refusal";
    qobject_cast<QLineEdit*>(QApplication::focusWidget())->selectAll();
    Type(QStringLiteral("30.2"));
    Key(Qt::Key_Tab);
    Type(QStringLiteral("28.9"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Cell(0, model->MeanColumn()), "29.50");
    EXPECT_EQ(Cell(0, model->UncertaintyColumn()), "± 0.65");

    // The graph shows the mean with its error bar.
    QCPGraph* points = panel->Graph->Points();
    ASSERT_EQ(points->data()->size(), 1);
    EXPECT_DOUBLE_EQ(points->data()->at(0)->key, 40);
    EXPECT_NEAR(points->data()->at(0)->value, 29.5, 1e-9);
    ASSERT_EQ(panel->Graph->ErrorBars()->data()->size(), 1);
    EXPECT_NEAR(panel->Graph->ErrorBars()->data()->at(0).errorPlus, 0.65, 1e-9);
}

TEST_F(ResultsPanelTest, RecordAgainTakesTheNextRepeatThenANewRow)
{
    SetDropHeightAndTemperature(200, 20);
    for (const char* reading : {"12.1", "12.5", "11.9"}) {
        Key(Qt::Key_R, Qt::ControlModifier);
        Type(QString::fromLatin1(reading));
        Key(Qt::Key_Return);
    }
    ASSERT_EQ(panel->Model()->rowCount(), 1);
    SetDropHeightAndTemperature(600, 40);
    Key(Qt::Key_R, Qt::ControlModifier);
    Key(Qt::Key_Escape);
    ASSERT_EQ(panel->Model()->rowCount(), 2);
    EXPECT_EQ(Cell(1, 0), "60.0");
    EXPECT_EQ(Cell(1, panel->Model()->FairTestColumn()), "temperature changed: 40 ºC instead of 20 ºC");
}

TEST_F(ResultsPanelTest, AnAnomalyLeavesTheMeanAndUndoBringsItBack)
{
    SetDropHeightAndTemperature(800, 20);
    Key(Qt::Key_R, Qt::ControlModifier);
    for (const char* reading : {"50.0", "51.0", "60.0"}) {
        Type(QString::fromLatin1(reading));
        Key(Qt::Key_Tab);
    }
    Key(Qt::Key_Escape);
    TResultsModel* model = panel->Model();
    EXPECT_EQ(Cell(0, model->MeanColumn()), "53.67");
    panel->Table->setFocus();
    panel->Table->setCurrentIndex(model->index(0, model->RepeatColumn(2)));
    Key(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, model->MeanColumn()), "50.50");
    EXPECT_TRUE(
        model->data(model->index(0, model->RepeatColumn(2)), Qt::FontRole).value<QFont>().strikeOut());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, model->MeanColumn()), "53.67");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, model->MeanColumn()), "50.50");
    // Delete empties the selected reading; Ctrl+Delete takes the row.
    Key(Qt::Key_Delete);
    EXPECT_EQ(Cell(0, model->RepeatColumn(2)), "");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, model->RepeatColumn(2)), "60.0");
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(model->rowCount(), 0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model->rowCount(), 1);
}

TEST_F(ResultsPanelTest, TheTableFollowsTheExperimentAndSurvivesARestart)
{
    SetDropHeightAndTemperature(1000, 20);
    Key(Qt::Key_R, Qt::ControlModifier);
    Type(QStringLiteral("61.3"));
    Key(Qt::Key_Return);
    // The second question keeps a table of its own.
    QTest::keyClick(panel->QuestionCB, Qt::Key_Down);
    EXPECT_EQ(panel->Model()->Declaration().key, "temperature");
    EXPECT_EQ(panel->Model()->rowCount(), 0);
    QTest::keyClick(panel->QuestionCB, Qt::Key_Up);

    std::unique_ptr<TExperimentForm> kinetic(NewForm(ids::Kinetic));
    panel->SetExperiment(ids::Kinetic, kinetic.get(), QString());
    EXPECT_EQ(panel->Pages->currentWidget(), panel->NoTablesLabel);
    EXPECT_EQ(panel->Model(), nullptr);
    std::unique_ptr<TExperimentForm> car(NewForm(ids::Car));
    panel->SetExperiment(ids::Car, car.get(), QString());
    EXPECT_EQ(panel->Model()->rowCount(), 0);

    panel->SetExperiment(ids::Ball, ball.get(), QString());
    ASSERT_EQ(panel->Model()->rowCount(), 1);
    EXPECT_EQ(Cell(0, panel->Model()->RepeatColumn(0)), "61.3");

    panel.reset();
    panel = NewPanel();
    ASSERT_EQ(panel->Model()->Declaration().key, "height");
    ASSERT_EQ(panel->Model()->rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "100.0");
    EXPECT_EQ(Cell(0, panel->Model()->RepeatColumn(0)), "61.3");
}

TEST_F(ResultsPanelTest, ADamagedFileIsReportedWithItsPath)
{
    panel.reset();
    QFile file(TResultsStore(dir.path()).FilePath(ids::Ball));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": \"brevalis-results\", \"tables\": ");
    file.close();
    panel = NewPanel();
    EXPECT_TRUE(panel->MessageLabel->isVisible());
    EXPECT_TRUE(panel->Message().contains(".damaged-")) << panel->Message().toStdString();
    EXPECT_EQ(panel->Model()->rowCount(), 0);
}

TEST_F(ResultsPanelTest, ClearAsksFirst)
{
    SetDropHeightAndTemperature(200, 20);
    Key(Qt::Key_R, Qt::ControlModifier);
    Key(Qt::Key_Escape);
    int asked = 0;
    bool answer = false;
    panel->ConfirmClear = [&](QWidget*) {
        ++asked;
        return answer;
    };
    QTest::mouseClick(panel->ClearBtn, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(panel->Model()->rowCount(), 1);
    answer = true;
    QTest::mouseClick(panel->ClearBtn, Qt::LeftButton);
    EXPECT_EQ(panel->Model()->rowCount(), 0);
    panel->UndoAction->trigger();
    EXPECT_EQ(panel->Model()->rowCount(), 1);
}

TEST_F(ResultsPanelTest, TheTableLeavesAsTsvCsvAndAPrintout)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    panel.reset();
    panel = NewPanel();
    SetDropHeightAndTemperature(205, 20);
    Key(Qt::Key_R, Qt::ControlModifier);
    Type(QStringLiteral("12,5"));
    Key(Qt::Key_Tab);
    Type(QStringLiteral("13.5"));
    Key(Qt::Key_Return);
    TResultsModel* model = panel->Model();
    EXPECT_EQ(Cell(0, model->MeanColumn()), "13,00");

    panel->CopyTable();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].split('\t').mid(0, 3), (QStringList{"20,5", "12,5", "13,5"}));

    const QString csvPath = dir.filePath(QStringLiteral("out.csv"));
    ASSERT_TRUE(panel->SaveCsv(csvPath));
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const std::vector<QStringList> records = ParseCsv(QString::fromUtf8(csv.readAll()));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][0], "Drop height (cm)");
    EXPECT_EQ(records[0][model->MeanColumn()], "Mean bounce height (cm)");
    EXPECT_EQ(records[1][0], "20.5");
    EXPECT_EQ(records[1][model->RepeatColumn(0)], "12.5");
    EXPECT_EQ(records[1][model->MeanColumn()], "13.00");
    EXPECT_EQ(records[1][model->ControlColumn(0)], "20 ºC");
    EXPECT_EQ(CsvField(QStringLiteral("a, \"b\"")), "\"a, \"\"b\"\"\"");

    const QString pdfPath = dir.filePath(QStringLiteral("print.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    ASSERT_EQ(panel->PaintPrintout(printer), 1);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char* expected : {"Bouncing ball experiment", "20,5", "12,5", "13,5", "13,00", "Drop height"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();

    const QString pngPath = dir.filePath(QStringLiteral("graph.png"));
    ASSERT_TRUE(panel->ExportPng(pngPath));
    EXPECT_EQ(QImage(pngPath).size(), QSize(1200, 900));
    ASSERT_TRUE(panel->ExportPdf(dir.filePath(QStringLiteral("graph.pdf"))));
    EXPECT_GT(QFile(dir.filePath(QStringLiteral("graph.pdf"))).size(), 500);
}

TEST_F(ResultsPanelTest, LineOfBestFitShowsGradientAndInterceptWithUnits)
{
    TResultsModel* model = panel->Model();
    for (int h = 2; h <= 10; h += 2) {
        TResultsRow row = model->EmptyRow();
        row.independent = h * 10;
        row.repeats[0].value = h * 6 + 1;  // bounce = 0.6 × drop + 1
        model->Record(row);
    }
    panel->FitCB->setCurrentIndex(panel->FitCB->findData(int(TFitKind::Line)));
    EXPECT_EQ(panel->FitLabel->text(), "gradient = 0.600 cm/cm, intercept = 1.00 cm");
    QCPGraph* line = panel->Graph->FitCurve();
    ASSERT_EQ(line->data()->size(), 2);
    const auto at = [line](int i) {
        return line->data()->at(i)->value - (0.6 * line->data()->at(i)->key + 1);
    };
    EXPECT_NEAR(at(0), 0, 1e-9);
    EXPECT_NEAR(at(1), 0, 1e-9);

    QTest::mouseClick(panel->FromZeroCB, Qt::LeftButton);
    EXPECT_EQ(panel->Graph->xAxis->range().lower, 0);
    EXPECT_EQ(panel->Graph->yAxis->range().lower, 0);
    EXPECT_EQ(panel->Graph->xAxis->label(), "Drop height (cm)");

    model->ClearTable();
    EXPECT_EQ(panel->FitLabel->text(), "Not enough data for a line yet");
}

TEST_F(ResultsPanelTest, EveryControlHasANameAndTakesTheFocus)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             panel->QuestionCB, panel->RecordBtn, panel->AnomalyBtn, panel->DeleteRowBtn, panel->ClearBtn,
             panel->UndoBtn, panel->RedoBtn, panel->Table, panel->FitCB, panel->FromZeroCB, panel->OutBtn}) {
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        EXPECT_NE(w->focusPolicy() & Qt::TabFocus, 0) << w->objectName().toStdString();
    }
}

}  // namespace
}  // namespace brv
