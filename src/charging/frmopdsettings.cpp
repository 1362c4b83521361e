#include "frmopdsettings.h"

#include "pricerules.h"
#include "serviceprice.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/module1.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace chemodesk::charging {

namespace {

const QString TimeFormat = QStringLiteral("HH:mm:ss");

QString bit(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

bool validRate(const QString &text)
{
    return session::IsNumeric(text) && text.trimmed().toDouble() >= 0.0;
}

QTime timeOf(const Field &field, const QTime &otherwise)
{
    const QDateTime moment = field.toDateTime();
    return field.IsNull() || !moment.isValid() ? otherwise : moment.time();
}

} // namespace

QString SaveSettingsText(const QStringList &values)
{
    QString text = QStringLiteral("Hemodialysis..spHEmo_SaveSettings  '");
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += i == values.size() - 1 ? QStringLiteral("','") : QStringLiteral("', '");
        text += sql::escape(values.at(i));
    }
    return text + QLatin1Char('\'');
}

frmOPDsettings::frmOPDsettings(Connection &connection, RateSettings &settings, QWidget *parent)
    : QDialog(parent), connection_(connection), settings_(settings)
{
    setObjectName(QStringLiteral("frmOPDsettings"));
    setWindowTitle(QStringLiteral("System's Settings"));

    auto check = [this](const char *name, const QString &caption, QWidget *parent) {
        auto *box = new QCheckBox(caption, parent);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    auto time = [this](const char *name) {
        auto *edit = new QTimeEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setDisplayFormat(QStringLiteral("hh:mm:ss AP"));
        return edit;
    };

    fraNewMarkups = new QGroupBox(QStringLiteral("New Mark-ups"), this);
    fraNewMarkups->setObjectName(QStringLiteral("fraNewMarkups"));
    chkShowSpecimen =
        check("chkShowSpecimen", QStringLiteral("Show Laboratory Specimen"), fraNewMarkups);
    chkAssessment = check("chkAssessment", QStringLiteral("Assessment Mark-up"), fraNewMarkups);
    chkPostCharge = check("chkPostCharge", QStringLiteral("Post Charge Mark-up"), fraNewMarkups);
    auto *markups = new QHBoxLayout(fraNewMarkups);
    markups->addWidget(chkShowSpecimen);
    markups->addWidget(chkAssessment);
    markups->addWidget(chkPostCharge);

    chkOPStatRate = check("chkOPStatRate", QStringLiteral("Enable New Stat Rate"), this);
    txtStatRate = rateBox("txtStatRate");
    chkDailytime = check("chkDailytime", QStringLiteral("Daily Time Rate"), this);
    txtDailyTime = rateBox("txtDailyTime");
    // The settings row has no place for a daily time rate: offering it would
    // report as saved what is thrown away.
    chkDailytime->setEnabled(false);
    txtDailyTime->setEnabled(false);
    chkHolidayRate = check("chkHolidayRate", QStringLiteral("Holiday Rate"), this);
    txtHolidayRate = rateBox("txtHolidayRate");
    chkAfterFivePmRate = check("chkAfterFivePmRate", QStringLiteral("After Five Pm Rate"), this);
    txtAfterFivePmRate = rateBox("txtAfterFivePmRate");
    optChemOnly = new QRadioButton(QStringLiteral("Chemistry Lab Only"), this);
    optChemOnly->setObjectName(QStringLiteral("optChemOnly"));
    optAllRevenues = new QRadioButton(QStringLiteral("All Revenues"), this);
    optAllRevenues->setObjectName(QStringLiteral("optAllRevenues"));
    chkWeekendRate = check("chkWeekendRate", QStringLiteral("Weekend Rate"), this);
    txtWeekendRate = rateBox("txtWeekendRate");
    dtStartTime = time("dtStartTime");
    dtEndTime = time("dtEndTime");
    dtStartTime2 = time("dtStartTime2");
    dtEndTime2 = time("dtEndTime2");

    txtHolidayAfterFive = rateBox("txtHolidayAfterFive");
    txtHolidayWeekend = rateBox("txtHolidayWeekend");
    txtStatAfterFive = rateBox("txtStatAfterFive");
    txtStatWeekend = rateBox("txtStatWeekend");
    txtAfterFiveWeekend = rateBox("txtAfterFiveWeekend");
    txtMaximumRate = rateBox("txtMaximumRate");

    cmdSaveSettings = new QPushButton(QStringLiteral("&Save"), this);
    cmdSaveSettings->setObjectName(QStringLiteral("cmdSaveSettings"));
    cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    // Enter moves between boxes; saving takes the button or Alt+S.
    cmdSaveSettings->setAutoDefault(false);
    cmdExit->setAutoDefault(false);

    auto *rates = new QGridLayout;
    int row = 0;
    auto addRate = [&](QCheckBox *box, QLineEdit *edit) {
        rates->addWidget(box, row, 0);
        rates->addWidget(edit, row++, 1);
    };
    addRate(chkOPStatRate, txtStatRate);
    addRate(chkDailytime, txtDailyTime);
    addRate(chkHolidayRate, txtHolidayRate);
    rates->addWidget(optChemOnly, row, 2);
    rates->addWidget(optAllRevenues, row, 3);
    addRate(chkAfterFivePmRate, txtAfterFivePmRate);
    addRate(chkWeekendRate, txtWeekendRate);

    auto effectivity = [this](const QString &caption, QTimeEdit *start, QTimeEdit *end) {
        auto *frame = new QGroupBox(caption, this);
        auto *label = new QLabel(QStringLiteral("Mark Up Start Time:"), frame);
        label->setBuddy(start);
        auto *layout = new QHBoxLayout(frame);
        layout->addWidget(label);
        layout->addWidget(start);
        layout->addWidget(new QLabel(QStringLiteral("-"), frame));
        layout->addWidget(end);
        return frame;
    };
    rates->addWidget(
        effectivity(QStringLiteral("Saturday Effectivity Time"), dtStartTime, dtEndTime), row++, 0,
        1, 4);
    rates->addWidget(
        effectivity(QStringLiteral("Sunday Effectivity Time"), dtStartTime2, dtEndTime2), row++, 0,
        1, 4);

    auto *combinations = new QGridLayout;
    int line = 0;
    auto addCombination = [&](const QString &caption, QLineEdit *edit) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(edit);
        combinations->addWidget(label, line, 0);
        combinations->addWidget(edit, line++, 1);
    };
    addCombination(QStringLiteral("Holiday and After Five PM Rate"), txtHolidayAfterFive);
    addCombination(QStringLiteral("Holiday and Weekend Rate"), txtHolidayWeekend);
    addCombination(QStringLiteral("Stat And After 5PM Rate"), txtStatAfterFive);
    addCombination(QStringLiteral("Stat And Weekend Rate"), txtStatWeekend);
    addCombination(QStringLiteral("After Five PM and Weekend Rate"), txtAfterFiveWeekend);
    addCombination(QStringLiteral("Maximum Rate"), txtMaximumRate);
    combinations->addWidget(
        new QLabel(QStringLiteral("**MaxRate is any combination of three rates."), this), line++, 0,
        1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSaveSettings);
    buttons->addWidget(cmdExit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraNewMarkups);
    layout->addLayout(rates);
    layout->addLayout(combinations);
    layout->addLayout(buttons);

    // Only the user's clicks clear boxes; loading ticks the boxes silently.
    for (QCheckBox *box : {chkOPStatRate, chkHolidayRate, chkAfterFivePmRate, chkWeekendRate}) {
        connect(box, &QCheckBox::clicked, this, [this, box](bool checked) {
            if (!checked)
                clearBoxesOf(box);
            applyEnabling();
        });
    }
    connect(cmdSaveSettings, &QPushButton::clicked, this, &frmOPDsettings::save);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    applyEnabling();
}

QLineEdit *frmOPDsettings::rateBox(const char *name)
{
    auto *box = new QLineEdit(QStringLiteral("0"), this);
    box->setObjectName(QLatin1String(name));
    box->installEventFilter(this);
    return box;
}

void frmOPDsettings::applyEnabling()
{
    const bool stat = chkOPStatRate->isChecked();
    const bool holiday = chkHolidayRate->isChecked();
    const bool afterFive = chkAfterFivePmRate->isChecked();
    const bool weekend = chkWeekendRate->isChecked();
    txtStatRate->setEnabled(stat);
    txtHolidayRate->setEnabled(holiday);
    txtAfterFivePmRate->setEnabled(afterFive);
    optChemOnly->setEnabled(afterFive);
    optAllRevenues->setEnabled(afterFive);
    txtWeekendRate->setEnabled(weekend);
    for (QTimeEdit *edit : {dtStartTime, dtEndTime, dtStartTime2, dtEndTime2})
        edit->setEnabled(weekend);
    txtHolidayAfterFive->setEnabled(holiday && afterFive);
    txtHolidayWeekend->setEnabled(holiday && weekend);
    txtStatAfterFive->setEnabled(stat && afterFive);
    txtStatWeekend->setEnabled(stat && weekend);
    txtAfterFiveWeekend->setEnabled(afterFive && weekend);
    txtMaximumRate->setEnabled(holiday && weekend && afterFive);
}

void frmOPDsettings::clearBoxesOf(QCheckBox *check)
{
    std::vector<QLineEdit *> boxes;
    if (check == chkOPStatRate)
        boxes = {txtStatRate, txtStatAfterFive, txtStatWeekend};
    else if (check == chkHolidayRate)
        boxes = {txtHolidayRate, txtHolidayAfterFive, txtHolidayWeekend, txtMaximumRate};
    else if (check == chkAfterFivePmRate)
        boxes = {txtAfterFivePmRate, txtHolidayAfterFive, txtStatAfterFive, txtAfterFiveWeekend,
                 txtMaximumRate};
    else if (check == chkWeekendRate)
        boxes = {txtWeekendRate, txtHolidayWeekend, txtStatWeekend, txtAfterFiveWeekend,
                 txtMaximumRate};
    for (QLineEdit *box : boxes)
        box->setText(QStringLiteral("0"));
}

void frmOPDsettings::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (loaded_)
        return;
    loaded_ = true;
    try {
        loadSettings();
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
}

void frmOPDsettings::loadSettings()
{
    loaded_ = true;
    LoadRateSettings(connection_, settings_);
    const Recordset rs =
        connection_.Open(QStringLiteral("Select * from HemoDialysis..tbHemo_settings"));
    if (rs.atEnd())
        return;
    auto flag = [&rs](const char *column) { return rs.Fields(QLatin1String(column)).toBool(); };
    auto rate = [&rs](const char *column) {
        return formatStored(rs.Fields(QLatin1String(column)).toDouble());
    };
    chkShowSpecimen->setChecked(flag("IsAllowOPDShowLabSpecimen"));
    chkAssessment->setChecked(flag("isAssesmentMarkUp"));
    chkPostCharge->setChecked(flag("isPostChargeMarkUp"));
    chkOPStatRate->setChecked(flag("isAllowNewHemoStatRate"));
    chkHolidayRate->setChecked(flag("isAllowHolidayRate"));
    chkAfterFivePmRate->setChecked(flag("isAllowAfterFivePMRate"));
    chkWeekendRate->setChecked(flag("isAllowWeekendRate"));
    optChemOnly->setChecked(flag("isAllowAfterFiveLabChemOnly"));
    optAllRevenues->setChecked(flag("isAllowAfterFiveAllRevenues"));
    txtStatRate->setText(rate("HemoStatRate"));
    txtHolidayRate->setText(rate("HolidayRate"));
    txtAfterFivePmRate->setText(rate("AfterFivePmRate"));
    txtWeekendRate->setText(rate("WeekendRate"));
    txtHolidayAfterFive->setText(rate("HolidayAndAfterFivePmRate"));
    txtHolidayWeekend->setText(rate("HolidayAndWeekend"));
    txtStatAfterFive->setText(rate("StatAndAfterFivePmRate"));
    txtStatWeekend->setText(rate("StatAndWeekendRate"));
    txtAfterFiveWeekend->setText(rate("WeekendAfterFive"));
    txtMaximumRate->setText(rate("MaxMarkupRate"));
    const QTime dayStart(0, 0, 0), dayEnd(23, 59, 59);
    dtStartTime->setTime(timeOf(rs.Fields(QStringLiteral("dtWeekendStartMarkup")), dayStart));
    dtEndTime->setTime(timeOf(rs.Fields(QStringLiteral("dtWeekendEndMarkup")), dayEnd));
    dtStartTime2->setTime(timeOf(rs.Fields(QStringLiteral("dtSundayStartMarkup")), dayStart));
    dtEndTime2->setTime(timeOf(rs.Fields(QStringLiteral("dtSundayEndMarkup")), dayEnd));
    applyEnabling();
}

std::vector<std::pair<QLineEdit *, QString>> frmOPDsettings::validations() const
{
    return {
        {txtStatRate, QStringLiteral("Please enter a valid Stat rate.")},
        {txtHolidayRate, QStringLiteral("Please enter a valid Holiday rate.")},
        {txtAfterFivePmRate, QStringLiteral("Please enter a valid After 5PM rate.")},
        {txtHolidayAfterFive,
         QStringLiteral("Please enter a valid rate for a combination of Holiday and After 5PM.")},
        {txtStatAfterFive,
         QStringLiteral("Please enter a valid rate for a combination of Stat and After 5PM.")},
        {txtWeekendRate, QStringLiteral("Please enter a valid Weekend rate.")},
        {txtStatWeekend,
         QStringLiteral("Please enter a valid rate for a combination of Stat and Weekend.")},
        {txtHolidayWeekend,
         QStringLiteral("Please enter a valid rate for a combination of Holiday and Weekend.")},
        {txtAfterFiveWeekend,
         QStringLiteral("Please enter a valid rate for a combination of Weekend and After 5PM.")},
        {txtMaximumRate, QStringLiteral("Please enter a valid rate for the maximum rate.")},
    };
}

QStringList frmOPDsettings::saveValues() const
{
    auto rate = [](const QLineEdit *box) { return box->text().trimmed(); };
    auto time = [](const QTimeEdit *edit) { return edit->time().toString(TimeFormat); };
    return {bit(chkOPStatRate->isChecked()),
            bit(chkHolidayRate->isChecked()),
            bit(chkAfterFivePmRate->isChecked()),
            bit(chkWeekendRate->isChecked()),
            bit(optChemOnly->isChecked()),
            bit(optAllRevenues->isChecked()),
            rate(txtStatRate),
            rate(txtHolidayRate),
            rate(txtAfterFivePmRate),
            rate(txtWeekendRate),
            rate(txtMaximumRate),
            rate(txtStatAfterFive),
            rate(txtStatWeekend),
            rate(txtHolidayWeekend),
            rate(txtHolidayAfterFive),
            rate(txtAfterFiveWeekend),
            time(dtStartTime),
            time(dtEndTime),
            bit(chkAssessment->isChecked()),
            bit(chkPostCharge->isChecked()),
            time(dtStartTime2),
            time(dtEndTime2),
            bit(chkShowSpecimen->isChecked())};
}

bool frmOPDsettings::save()
{
    for (const auto &[box, message] : validations()) {
        if (box->isEnabled() && !validRate(box->text())) {
            widgets::msgExclamation(message, QStringLiteral("Warning"));
            box->setFocus();
            box->selectAll();
            return false;
        }
    }
    try {
        connection_.Execute(SaveSettingsText(saveValues()));
    } catch (const DatabaseError &e) {
        // The boxes stay as typed, so nothing is lost by a failed save.
        widgets::msgCritical(e.message());
        return false;
    }
    widgets::msgInformation(QStringLiteral("Data was successfully save."));
    try {
        LoadRateSettings(connection_, settings_);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
    return true;
}

bool frmOPDsettings::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && qobject_cast<QLineEdit *>(watched)) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace chemodesk::charging
