// The general information window: load texts, Apply's validation order and
// messages, storing, refreshing the open windows, Save Info.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <memory>

#include "app/frmGeneral.h"
#include "app/mConvertion.h"
#include "app/mPublicVarsQt.h"
#include "gui_support.h"

namespace {

bool SameState(const NavigationStateRecord& a, const NavigationStateRecord& b) {
    return a.LocalDate == b.LocalDate && a.TZ == b.TZ && a.Lat == b.Lat && a.Lon == b.Lon && a.Course == b.Course &&
           a.Speed == b.Speed && a.Temp == b.Temp && a.Pressure == b.Pressure && a.hEye == b.hEye &&
           a.i_s == b.i_s && a.StateLoaded == b.StateLoaded;
}

// A stand-in for a window that recomputes after Apply.
class CountingWindow : public ChildWindow {
public:
    explicit CountingWindow(const char* name) { setObjectName(QLatin1String(name)); }
    void Update() override { ++updates; }
    int updates = 0;
};

std::unique_ptr<frmGeneral> OpenGeneral() {
    auto w = std::make_unique<frmGeneral>();
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w.get());
    return w;
}

// Types into box i from its first position as a user would: click, then keys.
void TypeInto(QLineEdit* box, const QString& keys) {
    box->setFocus();
    box->setSelection(0, 1);
    QTest::keyClicks(box, keys);
}

}  // namespace

TEST(GeneralWindow, BoxesShowTheWorkingDataInBothLocales) {
    NavigationState = KnownState();
    {
        LocaleScope point(PointLocale());
        auto w = OpenGeneral();
        EXPECT_EQ(w->windowTitle(), QStringLiteral("General Info"));
        EXPECT_EQ(w->objectName(), QStringLiteral("frmGeneral"));
        const char* expected[11] = {"12/06/26", "43-07.2N", "131-54.0E", "045.0", "12.5", "+10.0",
                                    "1013",     "15.0",     "-01.2",     "+03",   "14:35"};
        for (int i = 0; i < 11; ++i) {
            EXPECT_EQ(w->Text1[i]->text(), QLatin1String(expected[i])) << "box " << i;
            EXPECT_EQ(w->Text1[i]->maxLength(), w->Text1[i]->text().size()) << "box " << i;
            EXPECT_EQ(w->Text1[i]->objectName(), QStringLiteral("Text1_%1").arg(i));
        }
        EXPECT_EQ(w->Text1[0]->toolTip(), QStringLiteral("Date in mm/dd/yy format"));
        EXPECT_EQ(w->Text1[10]->toolTip(), QStringLiteral("Time in hh.mm format"));
        EXPECT_EQ(w->Text1[4]->toolTip(), QStringLiteral("Speed, knotes"));
        EXPECT_EQ(w->Text1[8]->toolTip(), QStringLiteral("Sextan corr., min"));
        EXPECT_TRUE(w->Text1[9]->toolTip().isEmpty());
        EXPECT_EQ(w->Command1->text(), QStringLiteral("&Apply"));
        EXPECT_EQ(w->Command2->text(), QStringLiteral("&Save Info"));
    }
    {
        LocaleScope comma(CommaLocale());
        auto w = OpenGeneral();
        EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("06.12.26"));
        EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("43-07,2N"));
        EXPECT_EQ(w->Text1[4]->text(), QStringLiteral("12,5"));
        EXPECT_EQ(w->Text1[0]->toolTip(), QStringLiteral("Date in dd.mm.yy format"));
    }
    EXPECT_EQ(frmGeneral::MaskOf(2), QStringLiteral("000_00_0EW"));
    EXPECT_EQ(frmGeneral::MaskOf(11), QString());
}

TEST(GeneralWindow, FirstInvalidBoxInIndexOrderWins) {
    LocaleScope point(PointLocale());
    NavigationState = KnownState();
    const NavigationStateRecord before = NavigationState;
    auto w = OpenGeneral();
    DialogRecorder rec;
    TypeInto(w->Text1[1], QStringLiteral("91"));   // latitude 91-07.2N
    w->Text1[3]->setText(QStringLiteral("4x.0"));  // a course that is not a number (pasted)
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Invalid position format!"));
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(w->Text1[1]->hasFocus());
    EXPECT_EQ(w->Text1[1]->selectedText(), w->Text1[1]->text());
    EXPECT_TRUE(SameState(NavigationState, before));

    // The latitude mended, the course is next.
    TypeInto(w->Text1[1], QStringLiteral("45"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[1].text, QStringLiteral("Invalid data format!"));
    EXPECT_TRUE(w->Text1[3]->hasFocus());
    EXPECT_EQ(w->Text1[3]->selectedText(), QStringLiteral("4x.0"));
    EXPECT_TRUE(SameState(NavigationState, before));

    // A date that does not exist comes before everything.
    w->Text1[0]->setText(QStringLiteral("02/30/26"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 3u);
    EXPECT_EQ(rec.messages[2].text, QStringLiteral("Invalid Date format!"));
    EXPECT_TRUE(w->Text1[0]->hasFocus());
    EXPECT_TRUE(SameState(NavigationState, before));
}

TEST(GeneralWindow, AnHourOf25IsAnInvalidDateInTheLastBox) {
    LocaleScope point(PointLocale());
    NavigationState = KnownState();
    const NavigationStateRecord before = NavigationState;
    auto w = OpenGeneral();
    DialogRecorder rec;
    TypeInto(w->Text1[10], QStringLiteral("25"));
    EXPECT_EQ(w->Text1[10]->text(), QStringLiteral("25:35"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Invalid Date format!"));
    EXPECT_TRUE(w->Text1[10]->hasFocus());
    EXPECT_EQ(w->Text1[10]->selectedText(), QStringLiteral("25:35"));
    EXPECT_TRUE(SameState(NavigationState, before));
}

TEST(GeneralWindow, ValidApplyStoresEveryFieldAndRewritesDateAndTime) {
    LocaleScope comma(CommaLocale());
    NavigationState = KnownState();
    auto w = OpenGeneral();
    DialogRecorder rec;
    // The date box types freely; the others through their masks.
    w->Text1[0]->setFocus();
    w->Text1[0]->selectAll();
    QTest::keyClicks(w->Text1[0], QStringLiteral("7.1.27"));
    TypeInto(w->Text1[10], QStringLiteral("0905"));
    TypeInto(w->Text1[9], QStringLiteral("-10"));
    TypeInto(w->Text1[1], QStringLiteral("4560 0s"));  // 45-60.0S: the space beeps
    TypeInto(w->Text1[2], QStringLiteral("005305w"));
    TypeInto(w->Text1[3], QStringLiteral("2700"));
    TypeInto(w->Text1[4], QStringLiteral("155"));
    TypeInto(w->Text1[5], QStringLiteral("-055"));
    TypeInto(w->Text1[6], QStringLiteral("0998"));
    TypeInto(w->Text1[7], QStringLiteral("032"));
    TypeInto(w->Text1[8], QStringLiteral("+015"));
    EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("45-60,0S"));
    EXPECT_EQ(w->Text1[2]->text(), QStringLiteral("005-30,5W"));
    EXPECT_EQ(w->Text1[4]->text(), QStringLiteral("15,5"));
    EXPECT_EQ(rec.beeps, 1);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_TRUE(rec.messages.empty());
    const NavigationStateRecord& n = NavigationState;
    EXPECT_EQ(n.LocalDate, DateFromParts(2027, 1, 7, 9, 5));
    EXPECT_DOUBLE_EQ(n.Lat, -46.0);
    EXPECT_NEAR(n.Lon, -(5.0 + 30.5 / 60.0), 1e-12);
    EXPECT_EQ(n.Course, 270.0f);
    EXPECT_EQ(n.Speed, 15.5f);
    EXPECT_EQ(n.Temp, -5.5f);
    EXPECT_EQ(n.Pressure, 998.0f);
    EXPECT_EQ(n.hEye, 3.2f);
    EXPECT_EQ(n.i_s, 1.5f);
    EXPECT_EQ(n.TZ, -10.0f);
    EXPECT_TRUE(n.StateLoaded);
    // Date and time rewritten in their short forms; the others keep their texts.
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("07.01.27"));
    EXPECT_EQ(w->Text1[10]->text(), QStringLiteral("09:05"));
    EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("45-60,0S"));
}

TEST(GeneralWindow, ApplyRefreshesTheOpenWindowsByNameEvenWhenRefused) {
    LocaleScope point(PointLocale());
    NavigationState = KnownState();
    auto position = std::make_unique<CountingWindow>("frmPosition");
    auto riseSet = std::make_unique<CountingWindow>("frmRiseSet");
    auto annual = std::make_unique<CountingWindow>("frmAnnual");
    auto w = OpenGeneral();
    DialogRecorder rec;
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(position->updates, 1);
    EXPECT_EQ(riseSet->updates, 1);
    EXPECT_EQ(annual->updates, 0);
    w->Text1[4]->setText(QStringLiteral("x"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(position->updates, 2);
    // Save Info does not refresh.
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_EQ(position->updates, 2);
}

TEST(GeneralWindow, SaveInfoStoresThenWritesAndAFreshLoadRestores) {
    LocaleScope point(PointLocale());
    ClearSettings();
    NavigationState = KnownState();
    auto w = OpenGeneral();
    DialogRecorder rec;
    TypeInto(w->Text1[6], QStringLiteral("1020"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(NavigationState.Pressure, 1020.0f);
    NavigationStateRecord back;
    ReadSettings(back);
    EXPECT_EQ(back.Pressure, 1020.0f);
    EXPECT_EQ(back.Speed, 12.5f);
    EXPECT_NEAR(back.Lat, 43.12, 1e-12);
    EXPECT_EQ(back.TZ, 3.0f);
    EXPECT_EQ(back.i_s, -1.2f);

    // Save Info after an invalid field: the message, and the unchanged values written.
    TypeInto(w->Text1[6], QStringLiteral("0999"));
    w->Text1[7]->setText(QStringLiteral("--"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Invalid data format!"));
    ReadSettings(back);
    EXPECT_EQ(back.Pressure, 1020.0f);
}

TEST(GeneralWindow, ReopenedWindowShowsTheAppliedValuesNotItsOldEdits) {
    LocaleScope point(PointLocale());
    NavigationState = KnownState();
    {
        auto w = OpenGeneral();
        TypeInto(w->Text1[3], QStringLiteral("1"));  // edited, not applied
        EXPECT_EQ(w->Text1[3]->text(), QStringLiteral("145.0"));
    }
    auto again = OpenGeneral();
    EXPECT_EQ(again->Text1[3]->text(), QStringLiteral("045.0"));
}
