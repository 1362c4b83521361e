#pragma once

// The specimen a laboratory examination is taken from. The cash assessment
// entry and the package dialog ask it whenever they add a laboratory item:
//
//     requests::frmSpecimenEntry specimen(connection, parent);
//     specimen.setItemID(labExamId);
//     specimen.LoadData();                  // shows the list only for several
//     const QString chosen = specimen.SpecimenID();   // empty: none taken
//
// An examination with one specimen takes it without showing anything; one
// without specimens takes none; with several the list is shown modally and
// the user picks one (a click, Enter or cmdEnter), typing in txtSpecimen to
// find it. A database error of the read reaches the caller.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::requests {

class frmSpecimenEntry : public QDialog {
    Q_OBJECT
public:
    explicit frmSpecimenEntry(Connection &connection, QWidget *parent = nullptr);

    QString ItemID() const { return itemId_; }
    void setItemID(const QString &itemId) { itemId_ = itemId; }

    // Reads the specimens of ItemID and takes one as above.
    void LoadData();
    // The list's two columns: the specimen's code and name.
    void Grid_Init();
    // The specimen taken; empty before LoadData and when none was taken.
    QString SpecimenID() const { return specimenId_; }
    // ItemID has more than one specimen.
    bool Morethan1() const { return morethan1_; }

    // cmdSearch: the first specimen whose name (or code) starts with the text
    // of txtSpecimen becomes the current row; false when none does.
    bool search();
    // cmdEnter, a click: the row's code becomes SpecimenID, its name shows in
    // txtSpecimen, and the list closes.
    void takeRow(int row);

    QLineEdit *txtSpecimen = nullptr;
    QTableWidget *grdSpecimen = nullptr;
    QPushButton *cmdSearch = nullptr;
    QPushButton *cmdEnter = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Connection &connection_;
    QString itemId_;
    QString specimenId_;
    bool morethan1_ = false;
};

} // namespace chemodesk::requests
