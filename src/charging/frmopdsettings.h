#pragma once

// The department's surcharge settings: which surcharges are on, their
// percentages alone and in combination, and the weekend hours. Saved into the
// settings row the price rules read; the program's rate settings are reloaded
// when the screen opens and after each save.

#include <QDialog>
#include <QStringList>

#include <utility>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

namespace chemodesk {
class Connection;
}

namespace chemodesk::charging {

struct RateSettings;

// The save call for the 23 values in the screen's order.
QString SaveSettingsText(const QStringList &values);

class frmOPDsettings : public QDialog {
    Q_OBJECT
public:
    frmOPDsettings(Connection &connection, RateSettings &settings, QWidget *parent = nullptr);

    QGroupBox *fraNewMarkups = nullptr;
    QCheckBox *chkShowSpecimen = nullptr;
    QCheckBox *chkAssessment = nullptr;
    QCheckBox *chkPostCharge = nullptr;
    QCheckBox *chkOPStatRate = nullptr;
    QLineEdit *txtStatRate = nullptr;
    QCheckBox *chkDailytime = nullptr;
    QLineEdit *txtDailyTime = nullptr;
    QCheckBox *chkHolidayRate = nullptr;
    QLineEdit *txtHolidayRate = nullptr;
    QCheckBox *chkAfterFivePmRate = nullptr;
    QLineEdit *txtAfterFivePmRate = nullptr;
    QRadioButton *optChemOnly = nullptr;
    QRadioButton *optAllRevenues = nullptr;
    QCheckBox *chkWeekendRate = nullptr;
    QLineEdit *txtWeekendRate = nullptr;
    QTimeEdit *dtStartTime = nullptr;
    QTimeEdit *dtEndTime = nullptr;
    QTimeEdit *dtStartTime2 = nullptr;
    QTimeEdit *dtEndTime2 = nullptr;
    QLineEdit *txtHolidayAfterFive = nullptr;
    QLineEdit *txtHolidayWeekend = nullptr;
    QLineEdit *txtStatAfterFive = nullptr;
    QLineEdit *txtStatWeekend = nullptr;
    QLineEdit *txtAfterFiveWeekend = nullptr;
    QLineEdit *txtMaximumRate = nullptr;
    QPushButton *cmdSaveSettings = nullptr;
    QPushButton *cmdExit = nullptr;

    // Fills the screen from the settings row (done when first shown).
    void loadSettings();
    // Validates and saves; true when saved.
    bool save();
    // The 23 values as the save sends them.
    QStringList saveValues() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *rateBox(const char *name);
    // Enables each box whose every surcharge is ticked.
    void applyEnabling();
    // A cleared surcharge disables its boxes and sets them to "0".
    void clearBoxesOf(QCheckBox *check);
    std::vector<std::pair<QLineEdit *, QString>> validations() const;

    Connection &connection_;
    RateSettings &settings_;
    bool loaded_ = false;
};

} // namespace chemodesk::charging
