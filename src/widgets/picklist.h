#pragma once

// The pick list the components show when a typed text is not an exact code:
// a search box holding the text, a grid of the rows whose name or code starts
// with it, run from the keyboard (Up, Down, PageUp, PageDown move; Enter
// picks; Escape cancels; typing narrows the list). The caller fills it before
// showing it through widgets::execModal and shows it only when rows matched.

#include "platform/connection.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace chemodesk::widgets {

struct PickColumn {
    enum Format { Text, Number, Amount }; // numbers right-aligned, amounts as "0.00"
    QString field;                        // column of the rows
    QString header;                       // its heading in the grid
    Format format = Text;
};

// "column LIKE 'text%' ESCAPE '\'": the rows whose column starts with the
// typed text, taken as it stands (a typed % or _ is a letter, not a wildcard).
QString startsWith(const QString &column, const QString &text);

class RecordsetFilterModel;
class RecordsetModel;

class PickList : public QDialog {
    Q_OBJECT
public:
    // The rows for a text typed in the search box.
    using Source = std::function<Recordset(const QString &text)>;

    PickList(const QString &caption, std::vector<PickColumn> columns, Source source,
             QWidget *parent = nullptr);

    // Puts `text` in the search box and fills the list for it; returns the
    // number of rows. A database error reaches the caller.
    int search(const QString &text);
    int rowCount() const;

    // After Accepted: the chosen row, every column of the source, as a
    // one-row record set. Closed while nothing was chosen.
    const Recordset &chosen() const { return chosen_; }

    QLineEdit *txtSearch = nullptr;
    QTableView *grdList = nullptr;
    QPushButton *cmdSelect = nullptr;
    QPushButton *cmdCancel = nullptr;

public Q_SLOTS:
    // Takes the current row; without one the list stays open.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refill();
    void fill(Recordset rows);
    bool move(int key);

    RecordsetModel *model_ = nullptr;
    RecordsetFilterModel *rows_ = nullptr; // the grid's model, over model_
    Source source_;
    Recordset chosen_;
};

} // namespace chemodesk::widgets
