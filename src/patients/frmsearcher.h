#pragma once

// The ultrasound exam picker: the exam list, narrowed by the first letters
// typed. The caller reads pick() once it has closed.

#include "ultrasoundpick.h"

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

    // The exam chosen; empty when the picker was cancelled.
    UltrasoundPick pick() const { return pick_; }

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
    UltrasoundPick pick_;

    void fill(const QString &text);
    void selectRow();

    Connection &connection_;
    bool loaded_ = false;
};

} // namespace chemodesk::patients
