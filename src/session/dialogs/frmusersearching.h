#pragma once

// The employee search of the rights screen: by employee id or by the first
// letters of the last name. The chosen employee comes back through
// SelectedId() and SelectedName() when the dialog is accepted.

#include <QDialog>
#include <QString>
#include <QStringList>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::session {

// The texts the two search boxes send.
QString EmployeeSearchById(const QString &id);
QString EmployeeSearchByName(const QString &lastName);

class frmUserSearching : public QDialog {
    Q_OBJECT
public:
    // Lists the employees whose last name starts with `searchText` at once.
    frmUserSearching(Connection &connection, const QString &searchText, QWidget *parent = nullptr);

    QString SelectedId() const { return selectedId_; }
    QString SelectedName() const { return selectedName_; }

    // The grid's column captions.
    static QStringList headers();

    QLineEdit *txtSearchID = nullptr;
    QLineEdit *txtSearchName = nullptr;
    QTableWidget *MSHFlexList = nullptr;
    QPushButton *cmdSelect = nullptr;
    QPushButton *cmdClose = nullptr;

    // Fills the grid from `text`; a failing text is shown and leaves the grid.
    void search(const QString &text);
    // Takes the current row; a message when there is none.
    void selectRow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Connection &connection_;
    QString selectedId_;
    QString selectedName_;
};

} // namespace chemodesk::session
