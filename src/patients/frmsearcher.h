#pragma once

// The ultrasound exam picker: the exam list, narrowed by the first letters
// typed; the pick goes to ultrasoundPick() (ultrasoundpick.h).

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::patients {

class frmSearcher : public QDialog {
    Q_OBJECT
public:
    explicit frmSearcher(Connection &connection, QWidget *parent = nullptr);

    static QString listText();
    static QString narrowedText(const QString &typed);

    QLineEdit *txtSearch = nullptr;
    QTableWidget *grdExam = nullptr;
    QPushButton *cmdSelect = nullptr;
    QPushButton *cmdCancel = nullptr;

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill(const QString &text);
    void selectRow();

    Connection &connection_;
    bool loaded_ = false;
};

} // namespace chemodesk::patients
