#include "fix/frmPosition.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "ui/MaskedEdit.h"
#include "map/frmDetails.h"
#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "fix/mLastFix.h"
#include "ui/mPublicVarsQt.h"
#include "core/mStar.h"
#include "core/mFault.h"
#include "core/mPlanet.h"
#include "fix/mCalcPosition.h"
#include "log/mSightLogQt.h"
#include "map/mDetailsReport.h"
#include "map/mDrawmap.h"
#include "map/mStarMap.h"

namespace {

// Design units are pixels at 96 dots per inch (15 twips each).
int D(int v) { return TwipsToPixels(v * 15); }
QRect DR(int x, int y, int w, int h) { return QRect(D(x), D(y), D(w), D(h)); }

constexpr int kLoadWidthTwips = 10920;
// Two lines more than the summary of a fix needs: its warning or the reason the
// last calculation failed.
constexpr int kLoadHeightTwips = 7725;
constexpr int kResizeStripTwips = 120;

QString Lf(const std::string& s) {
    QString q = QString::fromStdString(s);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return q;
}

void ReportFault(QWidget* parent, const ArithmeticFault& fault) {
    ShowMessage(parent, QString::fromLatin1(kCalcErrorTitle), QString::fromStdString(fault.what()),
                MsgIcon::Exclamation);
}

}  // namespace

frmPosition::frmPosition(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmPosition"));
    LoadSharedState();
    SetDesignSizeTwips(kLoadWidthTwips, kLoadHeightTwips);

    QFont boxFont = font();
    boxFont.setFamily(QStringLiteral("Monospace"));
    boxFont.setStyleHint(QFont::TypeWriter);
    boxFont.setBold(true);
    QFont bodyFont(QStringLiteral("Times New Roman"));
    bodyFont.setPointSize(12);
    const QFont small = SmallFont(font());

    // 1. The four lines.
    for (int i = 0; i < 4; ++i) {
        const size_t n = static_cast<size_t>(i);
        auto* frame = new QGroupBox(QStringLiteral("Line No.%1").arg(i + 1), this);
        frame->setObjectName(QStringLiteral("Frame1_%1").arg(i));
        frame->setGeometry(DR(4, 4 + i * 76, 368, 73));
        Frame1[n] = frame;

        auto* body = new QLabel(QStringLiteral("Celestial Body"), frame);
        body->setObjectName(QStringLiteral("Label5_%1").arg(i));
        body->setFont(bodyFont);
        QPalette pal = body->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
        body->setPalette(pal);
        body->setGeometry(DR(8, 21, 112, 22));
        Label5[n] = body;

        auto* combo = new QComboBox(frame);
        combo->setObjectName(QStringLiteral("Combo1_%1").arg(i));
        combo->setGeometry(DR(122, 20, 238, 24));
        combo->addItem(QString(), kNoBody);
        combo->setCurrentIndex(0);
        combo->setToolTip(QStringLiteral("Celestial Body: the star, planet, Sun or Moon of this sight; "
                                         "double-click a mark on the star map to take it from there"));
        body->setToolTip(combo->toolTip());
        Combo1[n] = combo;

        auto* utc = new QLabel(QStringLiteral("UTC"), frame);
        utc->setObjectName(QStringLiteral("Label5_%1").arg(4 + i));
        utc->setGeometry(DR(8, 48, 30, 20));
        Label5[4 + n] = utc;

        auto* time = new QLineEdit(FormatTimeHMS(0.0), frame);
        time->setObjectName(QStringLiteral("Text1_%1").arg(i));
        time->setFont(boxFont);
        time->setAlignment(Qt::AlignCenter);
        time->setGeometry(DR(40, 46, 78, 24));
        time->setToolTip(QStringLiteral("UTC: UT time of the sight, hh:mm:ss"));
        utc->setToolTip(time->toolTip());
        AttachMask(time, QString::fromLatin1(kTimeMask));
        Text1[n] = time;

        auto* h = new QLabel(QStringLiteral("H"), frame);
        h->setObjectName(QStringLiteral("Label5_%1").arg(8 + i));
        h->setGeometry(DR(128, 48, 14, 20));
        Label5[8 + n] = h;

        auto* alt = new QLineEdit(FormatNumber(0.0, QStringLiteral("00-00.0")), frame);
        alt->setObjectName(QStringLiteral("Text2_%1").arg(i));
        alt->setFont(boxFont);
        alt->setAlignment(Qt::AlignCenter);
        alt->setGeometry(DR(144, 46, 72, 24));
        alt->setToolTip(QStringLiteral("H: sextant altitude as read, before any correction, dd-mm.m "
                                       "(degrees and minutes); Enter in the last sight calculates the fix"));
        h->setToolTip(alt->toolTip());
        AttachMask(alt, QString::fromLatin1(kAltitudeMask));
        Text2[n] = alt;

        auto* limb = new QCheckBox(QStringLiteral("Use lower limb"), frame);
        limb->setObjectName(QStringLiteral("Check2_%1").arg(i));
        limb->setGeometry(DR(226, 48, 136, 20));
        limb->setChecked(true);
        limb->setToolTip(QStringLiteral("Use lower limb: ticked when the lower limb of the Sun or the Moon was "
                                        "brought to the horizon, clear for the upper limb"));
        Check2[n] = limb;
        // A planet or a star is brought down by its centre: the box is for the Sun and the Moon.
        connect(combo, &QComboBox::currentIndexChanged, limb,
                [combo, limb] { limb->setEnabled(!LineInUse(combo->currentData().toInt()) || HasLimb(combo->currentData().toInt())); });

        for (QWidget* w : {static_cast<QWidget*>(time), static_cast<QWidget*>(alt), static_cast<QWidget*>(combo)})
            w->installEventFilter(this);
        // The frame's caption colour marks the active line; its controls keep theirs.
        for (QWidget* w : {static_cast<QWidget*>(utc), static_cast<QWidget*>(h), static_cast<QWidget*>(limb),
                           static_cast<QWidget*>(time), static_cast<QWidget*>(alt), static_cast<QWidget*>(combo)}) {
            QPalette p = w->palette();
            p.setColor(QPalette::WindowText, QColor(0, 0, 0));
            w->setPalette(p);
        }
    }

    // 2. Caption, buttons, map parameters.
    setWindowTitle(QStringLiteral("Calculate Position"));
    Command1 = new QPushButton(QStringLiteral("&Refresh Map"), this);
    Command1->setToolTip(QStringLiteral("Draw the star map again for the working time and the map options"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(DR(4, 310, 118, 26));
    // Alt+C belongs to the main window's "&Calculation" menu.
    Command2 = new QPushButton(QStringLiteral("Calculate &Pos"), this);
    Command2->setToolTip(QStringLiteral("Reduce the lines in use and calculate the fix (recorded in the sight log)"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(DR(127, 310, 118, 26));
    Command4 = new QPushButton(QStringLiteral("&Show Details"), this);
    Command4->setToolTip(QStringLiteral("Every step of the last fix and a plot of its lines of position"));
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setGeometry(DR(250, 310, 122, 26));

    Picture1 = new MapPicture(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(DR(380, 4, 337, 337));

    Frame3 = new QGroupBox(QStringLiteral("Star Map Parameters"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setGeometry(DR(380, 344, 337, 62));
    const char* options[3] = {"Nav Stars", "Mae Stars", "Stars with magnitude < "};
    const QRect optionRects[3] = {DR(8, 17, 92, 20), DR(104, 17, 92, 20), DR(8, 38, 168, 20)};
    for (int k = 0; k < 3; ++k) {
        auto* o = new QRadioButton(QString::fromLatin1(options[k]), Frame3);
        o->setObjectName(QStringLiteral("Option1_%1").arg(k));
        o->setGeometry(optionRects[k]);
        static const char* const tips[3] = {
            "Nav Stars: the 57 navigational stars of the Nautical Almanac and Polaris",
            "Mae Stars: the navigational stars and Polaris with the brightest others, 160 in all (the second "
            "star list of the catalogue)",
            "Every star of the catalogue brighter than the magnitude typed beside"};
        o->setToolTip(QString::fromLatin1(tips[k]));
        Option1[static_cast<size_t>(k)] = o;
    }
    Text3 = new QLineEdit(QStringLiteral("3.5"), Frame3);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setGeometry(DR(178, 37, 40, 22));
    Text3->setToolTip(QStringLiteral("Magnitude limit of \"Stars with magnitude <\": the stars brighter "
                                     "(a smaller magnitude) are drawn"));
    Check1 = new QCheckBox(QStringLiteral("Show Planets"), Frame3);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(DR(228, 17, 104, 20));
    Check1->setChecked(true);
    Check1->setToolTip(QStringLiteral("Draw the Sun, the Moon and the planets on the map"));

    lblGenInfo = new QLabel(this);
    lblGenInfo->setObjectName(QStringLiteral("lblGenInfo"));
    lblGenInfo->setGeometry(DR(4, 340, 368, 46));
    lblGenInfo->setFont(small);
    lblGenInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // 3. The last fix is not available in this window until a new one is calculated.
    LastFix.Refusal = "No data";
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(DR(4, 388, 368, 96));
    Label4->setFont(small);
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label4->setText(LastFixText());
    chkIterate = new QCheckBox(QStringLiteral("Iterate"), this);
    chkIterate->setObjectName(QStringLiteral("chkIterate"));
    chkIterate->setGeometry(DR(380, 456, 120, 20));
    chkIterate->setChecked(true);
    chkIterate->setToolTip(QStringLiteral("Repeat the fix from its own result until it moves less than 0.01'"));
    cmdGpx = new QPushButton(QStringLiteral("GP&X\u2026"), this);
    cmdGpx->setObjectName(QStringLiteral("cmdGpx"));
    cmdGpx->setGeometry(DR(504, 453, 104, 25));
    cmdGpx->setToolTip(QStringLiteral("Save the last fix as a GPX waypoint for a chart plotter"));
    connect(cmdGpx, &QPushButton::clicked, this, [this] {
        std::vector<LoggedFix> fixes;
        if (LastFix.FixTime != 0.0 && !LastFix.Refused()) fixes.push_back(LoggedFixOf(LastFix));
        ExportFixesGpx(this, fixes);
    });
    cmdMoreSights = new QPushButton(QStringLiteral("&More sights..."), this);
    cmdMoreSights->setObjectName(QStringLiteral("cmdMoreSights"));
    cmdMoreSights->setGeometry(DR(612, 453, 105, 25));
    cmdMoreSights->setToolTip(QStringLiteral("The twilight session: any number of sights with these four, series "
                                             "averaged, blunders caught and the 95% region"));
    Label6 = new QLabel(QStringLiteral("Note: resizing the window out of proportion can distort the star map. "
                                       "Press [Refresh Map] to redraw the map in proportion."),
                        this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setGeometry(DR(380, 408, 337, 44));
    Label6->setWordWrap(true);
    Label6->setFont(small);
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The mark templates: hidden members 0 of both arrays.
    auto* star0 = new MapMarkLabel(Picture1);
    star0->setObjectName(QStringLiteral("Label1_0"));
    star0->hide();
    Label1.push_back(star0);
    auto* body0 = new MapMarkLabel(Picture1);
    body0->setObjectName(QStringLiteral("Label2_0"));
    body0->hide();
    Label2.push_back(body0);
    for (MapMarkLabel* m : {star0, body0})
        connect(m, &MapMarkLabel::doubleClicked, this, [this](MapMarkLabel* mark) { MarkDoubleClicked(mark); });

    // Enter in a sight's time box goes on to its altitude; in its altitude box
    // to the next line, and in the last line with a body it calculates the fix.
    for (int i = 0; i < 4; ++i) {
        const size_t n = static_cast<size_t>(i);
        connect(Text1[n], &QLineEdit::returnPressed, this, [this, n] { Text2[n]->setFocus(Qt::TabFocusReason); });
        connect(Text2[n], &QLineEdit::returnPressed, this, [this, i] { AltitudeEnter(i); });
    }
    // Tab follows the screen: each line's body, time, altitude and limb, the
    // buttons under the lines, then the map's parameters.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* w) {
        if (previous) setTabOrder(previous, w);
        previous = w;
    };
    for (size_t n = 0; n < 4; ++n)
        for (QWidget* w : {static_cast<QWidget*>(Combo1[n]), static_cast<QWidget*>(Text1[n]),
                           static_cast<QWidget*>(Text2[n]), static_cast<QWidget*>(Check2[n])})
            chain(w);
    for (QWidget* w : {static_cast<QWidget*>(Command1), static_cast<QWidget*>(Command2),
                       static_cast<QWidget*>(Command4), static_cast<QWidget*>(Option1[0]),
                       static_cast<QWidget*>(Option1[1]), static_cast<QWidget*>(Check1),
                       static_cast<QWidget*>(Option1[2]), static_cast<QWidget*>(Text3)})
        chain(w);

    connect(Command1, &QPushButton::clicked, this, [this] { Update(); });
    connect(Command2, &QPushButton::clicked, this, [this] { CalculatePosition(); });
    connect(Command4, &QPushButton::clicked, this, [this] { ShowDetails(); });
    connect(cmdMoreSights, &QPushButton::clicked, this, [this] { emit moreSightsRequested(); });
    connect(Check1, &QCheckBox::clicked, this, [this] {
        if (mapReady_) DrawMapNow();
    });
    for (QRadioButton* o : Option1) {
        connect(o, &QRadioButton::clicked, this, [this] {
            if (mapReady_) DrawMapNow();
        });
    }

    // The window's client size at load (the main window sizes the frame around it).
    resize(D(kLoadWidthTwips / 15) - 8, D(kLoadHeightTwips / 15) - 34);

    // The sights of an earlier visit during this run.
    RestoreSights();

    // 6, 7. Ready: line 1 active, the navigational stars, the conditions and the map.
    mapReady_ = true;
    activeLine_ = 0;
    SelectLine(0);
    Option1[0]->setChecked(true);
    DrawMapNow();
    lblGenInfo->setText(GeneralInfoText());
}

void frmPosition::Placed() {
    // Never smaller than at load, where every control has its room.
    setMinimumSize(size());
    scaler_.Start(this);
}

void frmPosition::AltitudeEnter(int line) {
    int last = -1;
    for (int i = 0; i < 4; ++i)
        if (LineInUse(Combo1[static_cast<size_t>(i)]->currentData().toInt())) last = i;
    if (line >= last) {
        CalculatePosition();
        return;
    }
    Combo1[static_cast<size_t>(line + 1)]->setFocus(Qt::TabFocusReason);
}

DateValue frmPosition::WorkInstantUT() { return NavigationState.LocalDate - NavigationState.TZ / 24.0; }

frmPosition::~frmPosition() { StoreSights(); }

SightLines frmPosition::CurrentLines() const {
    StoreSights();
    return EnteredSights;
}

void frmPosition::StoreSights() const {
    for (size_t n = 0; n < 4; ++n) {
        QComboBox* combo = Combo1[n];
        EnteredSights.Body[n] = combo->currentIndex() < 0 ? kNoBody : combo->currentData().toInt();
        EnteredSights.Time[n] = Text1[n]->text().toStdString();
        EnteredSights.Altitude[n] = Text2[n]->text().toStdString();
        EnteredSights.LowerLimb[n] = Check2[n]->isChecked();
    }
}

void frmPosition::RestoreSights() {
    for (size_t n = 0; n < 4; ++n) {
        if (EnteredSights.Time[n].empty()) continue;  // nothing stored for this line
        const QString time = QString::fromStdString(EnteredSights.Time[n]);
        const QString alt = QString::fromStdString(EnteredSights.Altitude[n]);
        if (time.size() == Text1[n]->text().size()) SetMaskedText(Text1[n], time);
        if (alt.size() == Text2[n]->text().size()) SetMaskedText(Text2[n], alt);
        Check2[n]->setChecked(EnteredSights.LowerLimb[n]);
        // The next map drawing keeps the body, on the map or marked as off it.
        const BodyCode code = EnteredSights.Body[n];
        const std::string name = BodyListText(code);
        if (!LineInUse(code) || name.empty()) continue;
        Combo1[n]->addItem(QString::fromStdString(name), code);
        Combo1[n]->setCurrentIndex(Combo1[n]->count() - 1);
    }
}

bool frmPosition::MagnitudeLimitValid() {
    double limit = 0.0;
    if (!Option1[2]->isChecked() || ParseNumberText(Text3->text(), limit)) return true;
    ShowMessage(this, QStringLiteral("Error"), QStringLiteral("Invalid data format!"), MsgIcon::Exclamation);
    Text3->setFocus(Qt::OtherFocusReason);
    Text3->selectAll();
    return false;
}

namespace {

// Member n of a mark array of the map, created (loaded) when n > 0 is not there yet.
MapMarkLabel* Member(std::vector<MapMarkLabel*>& marks, size_t n, const QString& base, bool star,
                     frmPosition* window) {
    while (marks.size() <= n) {
        auto* m = new MapMarkLabel(window->Picture1);
        m->setObjectName(base + QString::number(marks.size()));
        QObject::connect(m, &MapMarkLabel::doubleClicked, window,
                         [window](MapMarkLabel* mark) { window->MarkDoubleClicked(mark); });
        marks.push_back(m);
    }
    MapMarkLabel* m = marks[n];
    StyleMark(m, star);
    return m;
}

void Unload(std::vector<MapMarkLabel*>& marks) {
    while (marks.size() > 1) {
        delete marks.back();
        marks.pop_back();
    }
    marks[0]->hide();
}

}  // namespace

void frmPosition::DrawStarMap(DateValue ut, double lat, double lon) {
    frmPosition* window = this;
    // 1. Templates.
    StyleMark(window->Label1[0], true);
    StyleMark(window->Label2[0], false);
    window->Label1[0]->hide();
    window->Label2[0]->hide();

    // 2. The lists: remember each line's body, start again from the empty item.
    BodyCode remembered[4];
    for (int j = 0; j < 4; ++j) {
        QComboBox* c = window->Combo1[static_cast<size_t>(j)];
        const QSignalBlocker block(c);
        remembered[j] = c->currentIndex() >= 0 ? c->currentData().toInt() : kNoBody;
        c->clear();
        c->addItem(QString(), kNoBody);
        c->setCurrentIndex(0);
    }

    // 3. Unload the marks of the last drawing.
    Unload(window->Label1);
    Unload(window->Label2);
    window->StarMarkCount = 0;
    window->BodyMarkCount = 0;

    // 4. "Calculating..." shows while the places are computed.
    MapPicture* picture = window->Picture1;
    picture->ShowCalculating();

    // 5.-7. The marks.
    const int w = picture->width(), h = picture->height();
    const double jd = JulianDay(ut, false, false);
    StarChoice choice = StarChoice::Magnitude;
    if (window->Option1[0]->isChecked()) choice = StarChoice::NavStars;
    else if (window->Option1[1]->isChecked()) choice = StarChoice::MaeStars;
    // The window refuses a limit that is not a number before it draws.
    double limit = 0.0;
    if (!ParseNumberText(window->Text3->text(), limit)) limit = -HUGE_VAL;

    std::vector<MapMark> all = StarMarks(jd, lat, lon, choice, limit);
    const size_t starCount = all.size();
    if (window->Check1->isChecked()) {
        std::vector<MapMark> bodies = BodyMarks(jd, lat, lon);
        all.insert(all.end(), bodies.begin(), bodies.end());
    }
    for (size_t i = 0; i < all.size(); ++i) {
        const MapMark& m = all[i];
        const bool star = i < starCount;
        const size_t n = star ? i : i - starCount;
        MapMarkLabel* mark = star ? Member(window->Label1, n, QStringLiteral("Label1_"), true, window)
                                  : Member(window->Label2, n, QStringLiteral("Label2_"), false, window);
        PlaceMark(mark, m, w, h);
        const QString text = star ? QString::fromStdString(m.Name)
                                  : QStringLiteral("Planet: ") + QString::fromStdString(m.Name);
        for (int j = 0; j < 4; ++j) {
            QComboBox* c = window->Combo1[static_cast<size_t>(j)];
            const QSignalBlocker block(c);
            c->addItem(text, m.Code);
            if (remembered[j] == m.Code) c->setCurrentIndex(c->count() - 1);
        }
    }
    window->StarMarkCount = static_cast<int>(starCount);
    window->BodyMarkCount = static_cast<int>(all.size() - starCount);

    // A line whose body is no longer on the map keeps it, marked, after the map's items.
    for (int j = 0; j < 4; ++j) {
        QComboBox* c = window->Combo1[static_cast<size_t>(j)];
        if (!LineInUse(remembered[j]) || c->currentIndex() > 0) continue;
        const std::string name = BodyListText(remembered[j]);
        if (name.empty()) continue;
        const QSignalBlocker block(c);
        c->addItem(QString::fromStdString(name) + QString::fromLatin1(kNotOnMap), remembered[j]);
        c->setCurrentIndex(c->count() - 1);
    }

    // 8. The grid, which also clears "Calculating...".
    DrawMapGrid(picture);
}

void frmPosition::DrawMapNow() {
    // A limit that is not a number leaves the map and the lines as they are.
    if (!MagnitudeLimitValid()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        DrawStarMap(planned_.isEmpty() ? WorkInstantUT() : plannedUt_, NavigationState.Lat, NavigationState.Lon);
        RingPlanned();
    } catch (const ArithmeticFault& fault) {
        QApplication::restoreOverrideCursor();
        ReportFault(this, fault);
        return;
    }
    QApplication::restoreOverrideCursor();
}

void frmPosition::MarkPlannedBodies(const QVector<int>& codes, DateValue ut) {
    planned_ = codes;
    plannedUt_ = ut;
    DrawMapNow();
}

void frmPosition::RingPlanned() {
    for (const std::vector<MapMarkLabel*>* marks : {&Label1, &Label2}) {
        const bool stars = marks == &Label1;
        const int count = stars ? StarMarkCount : BodyMarkCount;
        for (int n = 1; n <= count && static_cast<size_t>(n) < marks->size(); ++n) {
            MapMarkLabel* m = (*marks)[static_cast<size_t>(n)];
            const int code = stars ? (m->Tag >= 1 && m->Tag <= kStarCount ? Stars[static_cast<size_t>(m->Tag)].Number : 0)
                                   : -m->Tag;
            const bool ring = !planned_.isEmpty() && planned_.contains(code);
            m->setProperty("planned", ring);
            m->setStyleSheet(ring ? QStringLiteral("border: 2px solid #00c0ff; border-radius: 7px;") : QString());
        }
    }
}

SightLines frmPosition::LinesShown(std::array<bool, 4>& typed) const {
    SightLines lines;
    for (size_t n = 0; n < 4; ++n) {
        QComboBox* combo = Combo1[n];
        lines.Body[n] = combo->currentIndex() < 0 ? kNoBody : combo->currentData().toInt();
        lines.Time[n] = Text1[n]->text().toStdString();
        lines.Altitude[n] = Text2[n]->text().toStdString();
        lines.LowerLimb[n] = Check2[n]->isChecked();
        typed[n] = LineInUse(lines.Body[n]) || Text1[n]->text() != FormatTimeHMS(0.0) ||
                   Text2[n]->text() != FormatNumber(0.0, QStringLiteral("00-00.0"));
    }
    return lines;
}

void frmPosition::FillLines(const QVector<int>& codes, const QVector<double>& times,
                            const QVector<double>& altitudes) {
    // Typed lines are the navigator's: replaced only when he says so, else the
    // planned sights go into the empty lines.
    std::array<bool, 4> typed{};
    SightLines lines = LinesShown(typed);
    const bool anyTyped = std::find(typed.begin(), typed.end(), true) != typed.end();
    const bool replace =
        !anyTyped ||
        ShowMessage(this, QStringLiteral("Fill position lines"),
                    QStringLiteral("Some position lines are already typed.\n\nYes: replace every line with the "
                                   "planned sights.\nNo: keep the typed lines and put the planned sights into "
                                   "the empty ones."),
                    MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes;
    if (replace) {
        lines = SightLines{};
        typed.fill(false);
    }
    size_t n = 0;
    for (int i = 0; i < codes.size() && i < times.size() && i < altitudes.size(); ++i) {
        while (n < 4 && typed[n]) ++n;
        if (n >= 4) break;  // no empty line left
        lines.Body[n] = codes[i];
        lines.Time[n] = FormatTimeHMS(times[i]).toStdString();
        const double tenths = std::round(std::clamp(altitudes[i], 0.0, 90.0) * 600.0);  // 0.1' steps
        const double deg = std::floor(tenths / 600.0);
        lines.Altitude[n] = (FormatNumber(deg, QStringLiteral("00")) + QStringLiteral("-") +
                             FormatNumber((tenths - deg * 600.0) / 10.0, QStringLiteral("00.0")))
                                .toStdString();
        lines.LowerLimb[n] = true;
        ++n;
    }
    ShowSights(lines);
    // A kept line without a body keeps its typed time and altitude too.
    for (size_t k = 0; k < 4; ++k) {
        if (!typed[k] || LineInUse(lines.Body[k])) continue;
        SetMaskedText(Text1[k], QString::fromStdString(lines.Time[k]));
        SetMaskedText(Text2[k], QString::fromStdString(lines.Altitude[k]));
        Check2[k]->setChecked(lines.LowerLimb[k]);
    }
}

void frmPosition::Update() {
    planned_.clear();
    lblGenInfo->setText(GeneralInfoText());
    DrawMapNow();
}

void frmPosition::SelectLine(int i) {
    if (i < 0 || i > 3) return;
    for (int k = 0; k < 4; ++k) {
        QGroupBox* f = Frame1[static_cast<size_t>(k)];
        QPalette pal = f->palette();
        pal.setColor(QPalette::WindowText, k == i ? QColor(255, 0, 0) : QColor(0, 0, 0));
        f->setPalette(pal);
    }
    activeLine_ = i;
}

bool frmPosition::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 4; ++i) {
            const size_t n = static_cast<size_t>(i);
            if (watched == Text1[n] || watched == Text2[n] || watched == Combo1[n]) SelectLine(i);
        }
    }
    return ChildWindow::eventFilter(watched, event);
}

QString frmPosition::GeneralInfoText() {
    const NavigationStateRecord& n = NavigationState;
    return QStringLiteral("Date: ") + FormatShortDate(n.LocalDate) + QStringLiteral(" ") +
           FormatShortTime(n.LocalDate) + QStringLiteral(", TimeZone = ") + NumberText(n.TZ) +
           QStringLiteral("\nPosition: ") + FormatLatLon(n.Lat, true) + QStringLiteral(" ") +
           FormatLatLon(n.Lon, false) + QStringLiteral(", COG = ") + NumberText(n.Course) +
           QStringLiteral(", SOG = ") + NumberText(n.Speed) + QStringLiteral(" kt\nTemp = ") + NumberText(n.Temp) +
           QStringLiteral(" C, Pres = ") + NumberText(n.Pressure) + QStringLiteral(" mB, H = ") +
           NumberText(n.hEye) + QStringLiteral(" m, i+s = ") + NumberText(n.i_s) + QStringLiteral(" min");
}

QString frmPosition::LastFixText() const {
    const FixResult& f = LastFix;
    if (!refusal_.empty())
        return QStringLiteral("Last fix not available\nThe last calculation failed: ") + Lf(refusal_);
    if (f.Refused()) return QStringLiteral("Last fix not available");
    const QString warning = InterceptWarningText(f);
    return QStringLiteral("Last fix on ") + FormatLongDate(f.FixTime) + QStringLiteral(" at ") +
           FormatShortTime(f.FixTime) + QStringLiteral(" local time.\nPosition: ") + FormatLatLon(f.FixLat, true) +
           QStringLiteral(" ") + FormatLatLon(f.FixLon, false) + QStringLiteral("\n") + CourseDistanceText(f) +
           QStringLiteral("\nEllipse of error:\na = ") +
           FormatNumber(f.EllipseA, QStringLiteral("00.00")) + QStringLiteral("' b = ") +
           FormatNumber(f.EllipseB, QStringLiteral("00.00")) + QStringLiteral("' Alpha = ") +
           FormatNumber(f.EllipseAlpha, QStringLiteral("000.0")) + QStringLiteral("\u00B0") +
           (warning.isEmpty() ? QString() : QStringLiteral("\n") + warning);
}

void frmPosition::CalculatePosition() {
    SightLines lines;
    for (int i = 0; i < 4; ++i) {
        const size_t n = static_cast<size_t>(i);
        QComboBox* combo = Combo1[n];
        if (combo->currentIndex() < 0 && combo->count() > 0) combo->setCurrentIndex(0);
        const int value = combo->currentIndex() < 0 ? kNoBody : combo->currentData().toInt();
        lines.Body[n] = value;
        // A line without a body passes its texts too: a sight typed there is named.
        lines.LowerLimb[n] = Check2[n]->isChecked();
        lines.Time[n] = Text1[n]->text().toStdString();
        lines.Altitude[n] = Text2[n]->text().toStdString();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const FixResult fix = CalculatePositionCommand(lines, NavigationState, chkIterate->isChecked());
    QApplication::restoreOverrideCursor();
    if (fix.Refused()) {
        // The last good fix stays; the summary says why this one was refused.
        refusal_ = fix.Refusal;
        ShowMessage(this, QString::fromLatin1(kCalcErrorTitle), Lf(CalcErrorText(fix)), MsgIcon::Exclamation);
    } else {
        refusal_.clear();
        LastFix = fix;
        LastFixIsSession = false;
    }
    Label4->setText(LastFixText());
    if (!fix.Refused()) emit fixCalculated(fix);
}

void frmPosition::ShowSights(const SightLines& lines) {
    for (size_t n = 0; n < 4; ++n) {
        QComboBox* c = Combo1[n];
        const BodyCode code = lines.Body[n];
        int index = c->findData(code);
        if (index < 0) {
            const QString name = QString::fromStdString(BodyListText(code));
            c->addItem(name + QString::fromLatin1(kNotOnMap), code);
            index = c->count() - 1;
        }
        c->setCurrentIndex(index);
        SetMaskedText(Text1[n], LineInUse(code) ? QString::fromStdString(lines.Time[n]) : FormatTimeHMS(0.0));
        SetMaskedText(Text2[n], LineInUse(code) ? QString::fromStdString(lines.Altitude[n])
                                                : FormatNumber(0.0, QStringLiteral("00-00.0")));
        Check2[n]->setChecked(LineInUse(code) && lines.LowerLimb[n]);
    }
}

void frmPosition::ShowDetails() {
    if (isSignalConnected(QMetaMethod::fromSignal(&frmPosition::detailsRequested))) {
        emit detailsRequested();
        return;
    }
    try {
        if (!ownDetails_) {
            ownDetails_ = new frmDetails(nullptr);
            ownDetails_->setAttribute(Qt::WA_DeleteOnClose);
        }
        ownDetails_->Report(LastFix);
    } catch (const ArithmeticFault& fault) {
        ReportFault(this, fault);
    }
}

void frmPosition::MarkDoubleClicked(MapMarkLabel* mark) {
    for (size_t n = 0; n < Label1.size() && static_cast<int>(n) < StarMarkCount; ++n)
        if (Label1[n] == mark) return StarInfoBox(static_cast<int>(n));
    for (size_t n = 0; n < Label2.size() && static_cast<int>(n) < BodyMarkCount; ++n)
        if (Label2[n] == mark) return PlanetInfoBox(static_cast<int>(n));
}

void frmPosition::StarInfoBox(int n) {
    if (n < 0 || n >= StarMarkCount || static_cast<size_t>(n) >= Label1.size()) return;
    const int s = Label1[static_cast<size_t>(n)]->Tag;
    const NavigationStateRecord& nav = NavigationState;
    StarInfo info;
    try {
        info = ComputeStarInfo(JulianDay(WorkInstantUT(), false, false), s, nav.Lat, nav.Lon, nav.hEye);
    } catch (const ArithmeticFault& fault) {
        ReportFault(this, fault);
        return;
    }
    const QString text = QStringLiteral("Magnitude: ") + NumberText(info.Magnitude) + QStringLiteral("\nParallax: ") +
                         NumberText(info.Parallax) + QStringLiteral("\nTau: ") +
                         FormatAngleDegMin(info.Tau, 3, false, false) + QStringLiteral("\nDeclination: ") +
                         FormatAngleDegMin(info.Dec, 2, true, true) + QStringLiteral("\nAltitude: ") +
                         FormatAngleDegMin(info.Altitude, 3, false, false) + QStringLiteral("\nAzimuth: ") +
                         WithDegreeSigns(FormatAngleDegMin(info.Azimuth, 3, false, false)) +
                         QStringLiteral("\n\nApply this star for Line No.%1?").arg(activeLine_ + 1);
    const MsgResult r = ShowMessage(this, QStringLiteral("Star Info: ") + QString::fromStdString(StarName(s)), text,
                                    MsgIcon::Information, MsgButtons::YesNo);
    if (r == MsgResult::Yes) Combo1[static_cast<size_t>(activeLine_)]->setCurrentIndex(n + 1);
}

void frmPosition::PlanetInfoBox(int n) {
    if (n < 0 || n >= BodyMarkCount || static_cast<size_t>(n) >= Label2.size()) return;
    const int k = Label2[static_cast<size_t>(n)]->Tag;
    const NavigationStateRecord& nav = NavigationState;
    BodyInfo info;
    try {
        info = ComputeBodyInfo(JulianDay(WorkInstantUT(), false, false), k, nav.Lat, nav.Lon, HorizonOf(nav));
    } catch (const ArithmeticFault& fault) {
        ReportFault(this, fault);
        return;
    }
    const QString magnitude = std::isfinite(info.Magnitude)
                                  ? QStringLiteral("Magnitude: ") + FormatNumber(info.Magnitude, QStringLiteral("+0.0;-0.0")) +
                                        QStringLiteral("\n")
                                  : QString();
    const QString text = magnitude + QStringLiteral("GHA: ") + FormatAngleDegMin(info.Gha, 3, false, false) +
                         QStringLiteral("\nDeclination: ") + FormatAngleDegMin(info.Dec, 2, true, true) +
                         QStringLiteral("\nAltitude: ") + FormatAngleDegMin(info.Altitude, 3, false, false) +
                         QStringLiteral("\nAzimuth: ") + WithDegreeSigns(FormatAngleDegMin(info.Azimuth, 3, false, false)) +
                         QStringLiteral("\nDistance: ") + FormatNumber(info.Distance, QStringLiteral("00.00000")) +
                         QStringLiteral(" AU\nAng_Diam: ") +
                         FormatNumber(info.DiameterArcmin, QStringLiteral("00.00000")) +
                         QStringLiteral("'\n\nApply this planet for Line No.%1?").arg(activeLine_ + 1);
    const std::vector<std::string>& names = BodyNames();
    const QString name = k >= 0 && static_cast<size_t>(k) < names.size()
                             ? QString::fromStdString(names[static_cast<size_t>(k)])
                             : QString();
    const MsgResult r = ShowMessage(this, QStringLiteral("Planet Info: ") + name, text, MsgIcon::Information,
                                    MsgButtons::YesNo);
    if (r == MsgResult::Yes) {
        Combo1[static_cast<size_t>(activeLine_)]->setCurrentIndex(1 + StarMarkCount + n);
    }
}

void frmPosition::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (!scaler_.Started()) return;
    const QSize before = scaler_.LastClientSize();
    const QSize pictureBefore = Picture1->size();
    scaler_.Resize(this, QSize(width(), height() - TwipsToPixels(kResizeStripTwips)));
    if (scaler_.LastClientSize() == before) return;
    // The marks inside the picture move with it in proportion (the layout scaling
    // leaves the inside of the picture alone); only the grid is drawn anew.
    const QSize pictureAfter = Picture1->size();
    if (!pictureBefore.isEmpty() && pictureAfter != pictureBefore) {
        const double xs = double(pictureAfter.width()) / pictureBefore.width();
        const double ys = double(pictureAfter.height()) / pictureBefore.height();
        for (const std::vector<MapMarkLabel*>* marks : {&Label1, &Label2}) {
            for (MapMarkLabel* m : *marks) {
                const QPointF c = QRectF(m->geometry()).center();
                m->move(static_cast<int>(std::lround(c.x() * xs - m->width() / 2.0)),
                        static_cast<int>(std::lround(c.y() * ys - m->height() / 2.0)));
            }
        }
    }
    if (mapReady_) DrawMapGrid(Picture1);
}

void frmPosition::closeEvent(QCloseEvent* event) {
    // Back to the normal state and the load-time size.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (sub->isMinimized() || sub->isMaximized()) sub->showNormal();
        if (scaler_.Started()) sub->resize(scaler_.InitialOuterSize());
    }
    ChildWindow::closeEvent(event);
}
