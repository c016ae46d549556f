// The general information window: load texts, Apply's validation order, messages
// and ranges, storing, the announcement of new working data, Save Info.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>

#include "shell/frmGeneral.h"
#include "support/gui_support.h"

namespace {

bool SameState(const NavigationStateRecord& a, const NavigationStateRecord& b) {
    return a.LocalDate == b.LocalDate && a.TZ == b.TZ && a.Lat == b.Lat && a.Lon == b.Lon && a.Course == b.Course &&
           a.Speed == b.Speed && a.Temp == b.Temp && a.Pressure == b.Pressure && a.hEye == b.hEye &&
           a.i_s == b.i_s && a.StateLoaded == b.StateLoaded;
}

std::unique_ptr<frmGeneral> OpenGeneral() {
    NavigationState = KnownState();
    auto w = std::make_unique<frmGeneral>();
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w.get());
    return w;
}

}  // namespace

TEST(GeneralWindow, BoxesShowTheWorkingData) {
    LocaleScope point(PointLocale());
    auto w = OpenGeneral();
    const char* expected[11] = {"12/06/2026", "43-07.2N", "131-54.0E", "045.0", "12.5", "+10.0",
                                "1013",     "15.0",     "-01.2",     "+03",   "14:35"};
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(w->Text1[i]->text() == QLatin1String(expected[i]) && w->Text1[i]->maxLength() == int(strlen(expected[i]))) << i;
    EXPECT_TRUE(w->Text1[0]->toolTip().startsWith(QStringLiteral("Date in mm/dd/yyyy format")));
}

// Apply refuses the first invalid box in index order, or a value out of its range,
// with the box selected and nothing stored; the ends of the ranges are accepted.
TEST(GeneralWindow, TheFirstInvalidOrOutOfRangeBoxIsRefusedAndNothingIsStored) {
    LocaleScope point(PointLocale());
    auto w = OpenGeneral();
    const NavigationStateRecord before = NavigationState;
    DialogRecorder rec;
    struct Step {
        int box;
        const char* text;  // typed through the mask, or set as a paste would when setText
        bool setText;
        const char* message;  // the whole message, or the range it names; none: no Apply
        int focus;
        const char* selected;
    };
    const Step steps[] = {
        {3, "4x.0", true, nullptr, 0, nullptr},  // a course that is not a number
        {1, "91", false, "Invalid position format!", 1, "91-07.2N"},
        {1, "45", false, "Invalid data format!", 3, "4x.0"},  // the latitude mended, the course next
        {0, "02/30/26", true, "Invalid Date format!", 0, "02/30/26"},  // a date that does not exist comes first
        {0, "12/31/1899", true, "Invalid Date format!", 0, "12/31/1899"},  // before the almanac's years
        {0, "12/06/26", true, nullptr, 0, nullptr},
        {3, "045.0", true, nullptr, 0, nullptr},
        {10, "25", false, "Invalid Date format!", 10, "25:35"},  // an hour of 25 in the last box
        {10, "14", false, nullptr, 0, nullptr},
        {3, "3605", false, "course is 0 to 360", 3, nullptr},   {3, "045.0", true, nullptr, 0, nullptr},
        {5, "+605", false, "temperature is -60 to +60", 5, nullptr}, {5, "+10.0", true, nullptr, 0, nullptr},
        {6, "0000", false, "pressure is 800 to 1100", 6, nullptr}, {6, "1101", false, "pressure is 800 to 1100", 6, nullptr},
        {6, "1013", true, nullptr, 0, nullptr},  {9, "+15", false, "time zone is -14 to +14", 9, nullptr},
        {9, "-99", false, "time zone is -14 to +14", 9, nullptr},
    };
    for (const Step& s : steps) {
        if (s.setText)
            w->Text1[s.box]->setText(QLatin1String(s.text));
        else
            TypeInto(w->Text1[s.box], QLatin1String(s.text));
        if (!s.message) continue;
        const size_t n = rec.messages.size();
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        ASSERT_EQ(rec.messages.size(), n + 1) << s.message;
        const QString& text = rec.messages[n].text;
        EXPECT_TRUE(rec.messages[n].title == QStringLiteral("Error") && rec.messages[n].icon == MsgIcon::Exclamation);
        if (s.selected) {
            EXPECT_EQ(text, QLatin1String(s.message));
            EXPECT_EQ(w->Text1[s.focus]->selectedText(), QLatin1String(s.selected));
        } else {
            EXPECT_TRUE(text.startsWith(QStringLiteral("Invalid data format!")) && text.contains(QLatin1String(s.message)))
                << text.toStdString();
        }
        EXPECT_TRUE(w->Text1[s.focus]->hasFocus() && SameState(NavigationState, before)) << s.message;
    }
    // The ends of the ranges are accepted, the almanac's first and last years too.
    const size_t refused = rec.messages.size();
    const std::pair<int, const char*> ends[] = {{3, "3600"}, {6, "0800"}, {7, "000"}, {9, "-14"}};
    for (const auto& [box, keys] : ends) TypeInto(w->Text1[box], QLatin1String(keys));
    for (const char* date : {"01/01/1900", "12/31/2100"}) {
        w->Text1[0]->setText(QLatin1String(date));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        EXPECT_EQ(DateToParts(NavigationState.LocalDate).year, QString::fromLatin1(date).right(4).toInt());
    }
    EXPECT_EQ(rec.messages.size(), refused);
    EXPECT_TRUE(NavigationState.TZ == -14.0f && NavigationState.Course == 360.0f && NavigationState.Pressure == 800.0f);
}

// In a comma locale: the boxes in its forms; a valid Apply stores every field and rewrites date and time.
TEST(GeneralWindow, ValidApplyStoresEveryFieldAndRewritesDateAndTimeInACommaLocale) {
    LocaleScope comma(CommaLocale());
    auto w = OpenGeneral();
    EXPECT_EQ((QStringList{w->Text1[0]->text(), w->Text1[1]->text(), w->Text1[4]->text()}),
              (QStringList{"06.12.2026", "43-07,2N", "12,5"}));
    EXPECT_TRUE(w->Text1[0]->toolTip().startsWith(QStringLiteral("Date in dd.mm.yyyy format")));
    DialogRecorder rec;
    // The date box types freely; the others through their masks.
    w->Text1[0]->setFocus();
    w->Text1[0]->selectAll();
    QTest::keyClicks(w->Text1[0], QStringLiteral("7.1.27"));
    const std::pair<int, const char*> typed[] = {{10, "0905"},    {9, "-10"},   {1, "4560 0s"},  // the space beeps
                                                 {2, "005305w"},  {3, "2700"},  {4, "155"},
                                                 {5, "-055"},     {6, "0998"},  {7, "032"},  {8, "+015"}};
    for (const auto& [box, keys] : typed) TypeInto(w->Text1[box], QLatin1String(keys));
    EXPECT_EQ(rec.beeps, 1);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_TRUE(rec.messages.empty());
    const NavigationStateRecord& n = NavigationState;
    EXPECT_EQ(n.LocalDate, DateFromParts(2027, 1, 7, 9, 5));
    EXPECT_DOUBLE_EQ(n.Lat, -46.0);
    EXPECT_NEAR(n.Lon, -(5.0 + 30.5 / 60.0), 1e-12);
    const std::pair<float, float> fields[] = {{n.Course, 270.0f}, {n.Speed, 15.5f}, {n.Temp, -5.5f},
                                              {n.Pressure, 998.0f}, {n.hEye, 3.2f},  {n.i_s, 1.5f}, {n.TZ, -10.0f}};
    for (const auto& [got, want] : fields) EXPECT_EQ(got, want);
    EXPECT_TRUE(n.StateLoaded);
    // Date and time rewritten in their short forms; the others keep their texts.
    EXPECT_EQ((QStringList{w->Text1[0]->text(), w->Text1[10]->text(), w->Text1[1]->text()}),
              (QStringList{"07.01.2027", "09:05", "45-60,0S"}));
}

TEST(GeneralWindow, SaveInfoStoresWritesAndAnnouncesARefusedFormNothing) {
    LocaleScope point(PointLocale());
    ClearSettings();
    auto w = OpenGeneral();
    QSignalSpy changed(w.get(), &frmGeneral::workingDataChanged);
    DialogRecorder rec;
    QTest::mouseClick(w->Command1, Qt::LeftButton);  // Apply announces new working data too

    TypeInto(w->Text1[6], QStringLiteral("1020"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(NavigationState.Pressure, 1020.0f);
    NavigationStateRecord back;
    ReadSettings(back);
    EXPECT_TRUE(back.Pressure == 1020.0f && back.Speed == 12.5f);
    // After an invalid field: the message, and nothing written.
    TypeInto(w->Text1[6], QStringLiteral("0999"));
    w->Text1[7]->setText(QStringLiteral("--"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Invalid data format!"));
    ReadSettings(back);
    EXPECT_EQ(back.Pressure, 1020.0f);
    EXPECT_EQ(changed.count(), 2);
}

TEST(GeneralWindow, TheErrorBoxOfApplyHasTheNormalPointerAndTheHourglassEndsWithTheClick) {
    LocaleScope point(PointLocale());
    auto w = OpenGeneral();
    const MessageBoxHandler old = SetMessageBoxHandler(nullptr);  // the program's own box
    w->Text1[4]->setText(QStringLiteral("x"));
    QString shown;
    bool hourglassOverBox = true;
    // Answers the box as the user would, once it is up.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = box->text();
        hourglassOverBox = QApplication::overrideCursor() != nullptr;
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    SetMessageBoxHandler(old);
    EXPECT_EQ(shown, QStringLiteral("Invalid data format!"));
    EXPECT_FALSE(hourglassOverBox);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
