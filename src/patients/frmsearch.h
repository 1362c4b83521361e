#pragma once

// The generic code search: the caller hands a SQL text with "##" where the
// typed text goes, shows the dialog through widgets::execModal, then reads
// Valid and ResultCode (the first column of the chosen row).

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::patients {

class frmSearch : public QDialog {
    Q_OBJECT
public:
    explicit frmSearch(Connection &connection, QWidget *parent = nullptr);

    // Set by the caller before showing.
    QString SearchCaption;
    QString Query;
    // The text the search box starts with.
    QString Criteria;
    // Shows the list for Criteria only, without a search box to change it.
    bool DisableSearch = false;

    // Read by the caller afterwards.
    QString ResultCode;
    bool Valid = false;

    QLabel *lblCaption = nullptr;
    QLineEdit *txtSearchStr = nullptr;
    QTableWidget *grdDispWindow = nullptr;
    QPushButton *cmdSelect = nullptr;
    QPushButton *cmdCancel = nullptr;

    // `query` with every "##" replaced by the text, escaped, since the
    // placeholder stands inside the query's own apostrophes.
    static QString queryText(const QString &query, const QString &searchText);

    // Refills the grid for the text in the search box.
    void fillList();

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    void selectRow();

    Connection &connection_;
    bool loaded_ = false;
};

} // namespace chemodesk::patients
