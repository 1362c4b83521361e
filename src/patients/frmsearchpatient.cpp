#include "frmsearchpatient.h"

#include "linklabel.h"
#include "patientlist.h"

#include "platform/connection.h"
#include "platform/patientlistrows.h"
#include "session/globals.h"
#include "widgets/gridformat.h"
#include "widgets/messages.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace chemodesk::patients {

namespace {

enum Column { HospNumColumn, IdNumColumn, NameColumn, AdmissionColumn, BillingColumn };

// Dates arrive as "mm/dd/yyyy": compared as dates, so a header click puts
// December of last year before January of this one.
class PatientItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column == AdmissionColumn || column == BillingColumn) {
            const QDate mine = QDate::fromString(text(column), QStringLiteral("MM/dd/yyyy"));
            const QDate theirs =
                QDate::fromString(other.text(column), QStringLiteral("MM/dd/yyyy"));
            if (mine != theirs)
                return mine < theirs; // an empty date (invalid) comes first
        }
        return QTreeWidgetItem::operator<(other);
    }
};

template <typename T> void nameIndexed(T *control, const char *name, int index)
{
    control->setObjectName(QLatin1String(name));
    control->setProperty("index", index);
}

} // namespace

frmSearchPatient::frmSearchPatient(Connection &connection, platform::MainPanel *panel,
                                   QWidget *parent)
    : QWidget(parent), connection_(connection), panel_(panel)
{
    setObjectName(QStringLiteral("frmSearchPatient"));
    setWindowTitle(QStringLiteral("Patients' List"));

    auto *options = new QGroupBox(this);
    auto *optionRow = new QHBoxLayout(options);
    const char *const optionCaptions[] = {"In Patient", "Out Patient", "Out Patient"};
    for (int i = 0; i < 3; ++i) {
        optPatientType[i] = new QRadioButton(QLatin1String(optionCaptions[i]), options);
        nameIndexed(optPatientType[i], "optPatientType", i);
        optionRow->addWidget(optPatientType[i]);
        connect(optPatientType[i], &QRadioButton::clicked, this, [this] { listPatients(false); });
    }
    optPatientType[CashOption]->setChecked(true);
    chkPrevious = new QCheckBox(QStringLiteral("View &Previous Registration"), options);
    chkPrevious->setObjectName(QStringLiteral("chkPrevious"));
    optionRow->addSpacing(16);
    optionRow->addWidget(chkPrevious);
    optionRow->addStretch();

    auto *searchGrid = new QGridLayout;
    const char *const searchCaptions[] = {
        "Enter Lastname :", "Enter Hospital Number :", "Enter Admission Number :"};
    for (int i = 0; i < 3; ++i) {
        lblSearch[i] = new QLabel(QLatin1String(searchCaptions[i]), this);
        nameIndexed(lblSearch[i], "lblSearch", i);
        txtSearch[i] = new QLineEdit(this);
        nameIndexed(txtSearch[i], "txtSearch", i);
        lblSearch[i]->setBuddy(txtSearch[i]);
        txtSearch[i]->installEventFilter(this);
        searchGrid->addWidget(lblSearch[i], 0, i);
        searchGrid->addWidget(txtSearch[i], 1, i);
    }
    vkCommand1 = new QPushButton(QStringLiteral("&Search"), this);
    vkCommand1->setObjectName(QStringLiteral("vkCommand1"));
    vkCommand1->setAutoDefault(false);
    searchGrid->addWidget(vkCommand1, 1, 3);
    connect(vkCommand1, &QPushButton::clicked, this, &frmSearchPatient::search);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setHeaderLabels({QStringLiteral("HOSPITAL #"), QStringLiteral("ADMISSION #"),
                                QStringLiteral("PATIENT NAME"), QStringLiteral("ADMISSION DATE"),
                                QStringLiteral("BILLING DATE")});
    ListView1->setColumnWidth(NameColumn, 260);
    widgets::widenToContents(ListView1);
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setSortIndicatorShown(false);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            &frmSearchPatient::sortByColumn);
    connect(ListView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { choose(item); });
    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);

    const char *const shortcutCaptions[] = {"Send Requests / Post charges", "View Clinical Results",
                                            "Clinical Summary"};
    static const int tabs[] = {0, 2, 5};
    auto *actions = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        Label7[i] = new LinkLabel(QLatin1String(shortcutCaptions[i]), this);
        nameIndexed(Label7[i], "Label7", i);
        actions->addWidget(Label7[i]);
        connect(Label7[i], &QPushButton::clicked, this, [this, i] {
            Q_EMIT datasheetRequested(tabs[i], i == 1 ? QStringLiteral("XR") : QString());
        });
    }
    lblProcedures = new LinkLabel(QStringLiteral("Clinical Procedures"), this);
    lblProcedures->setObjectName(QStringLiteral("lblProcedures"));
    actions->addWidget(lblProcedures);
    connect(lblProcedures, &QPushButton::clicked, this,
            [this] { Q_EMIT datasheetRequested(0, QString()); });
    actions->addStretch();
    lblReceivableEntry = new LinkLabel(QStringLiteral("(Receivable Entry )"), this);
    lblReceivableEntry->setObjectName(QStringLiteral("lblReceivableEntry"));
    actions->addWidget(lblReceivableEntry);
    connect(lblReceivableEntry, &QPushButton::clicked, this, &frmSearchPatient::receivableEntry);
    // Only shows itself; nothing opens from it.
    lblEdit = new LinkLabel(QStringLiteral("( New Registration )"), this);
    lblEdit->setObjectName(QStringLiteral("lblEdit"));
    lblEdit->setFocusPolicy(Qt::NoFocus);
    actions->addWidget(lblEdit);
    setDatasheetAvailable(false);
    setReceivableEntryAvailable(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addLayout(searchGrid);
    layout->addWidget(ListView1, 1);
    lblMoreMatch = new QLabel(this);
    lblMoreMatch->setObjectName(QStringLiteral("lblMoreMatch"));
    lblMoreMatch->hide();
    layout->addWidget(lblMoreMatch);
    layout->addLayout(actions);

    QWidget *order[] = {optPatientType[0], optPatientType[1], optPatientType[2], chkPrevious,
                        txtSearch[0],      txtSearch[1],      txtSearch[2],      vkCommand1,
                        ListView1,         Label7[0],         Label7[1],         Label7[2],
                        lblProcedures,     lblReceivableEntry};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    listPatients(false);
    session::globals().PatientListLoaded = true;
}

frmSearchPatient::~frmSearchPatient()
{
    // The main window may be going away itself: leave its widgets alone.
    unload(false);
}

void frmSearchPatient::setDatasheetAvailable(bool available)
{
    for (LinkLabel *label : Label7)
        label->setEnabled(available);
    lblProcedures->setEnabled(available);
}

void frmSearchPatient::setReceivableEntryAvailable(bool available)
{
    lblReceivableEntry->setEnabled(available);
}

bool frmSearchPatient::CheckCash(const QString &IdNum)
{
    return patients::CheckCash(connection_, IdNum);
}

int frmSearchPatient::checkedOption() const
{
    for (int i = 0; i < 3; ++i)
        if (optPatientType[i]->isChecked())
            return i;
    return CashOption;
}

void frmSearchPatient::search()
{
    const bool previous = chkPrevious->isChecked();
    if (previous && txtSearch[0]->text().trimmed().isEmpty() &&
        txtSearch[1]->text().trimmed().isEmpty() && txtSearch[2]->text().trimmed().isEmpty()) {
        widgets::msgInformation(QStringLiteral("Please enter a search text."));
        txtSearch[0]->setFocus();
        return;
    }
    listPatients(previous);
}

void frmSearchPatient::listPatients(bool previous)
{
    const int option = checkedOption();
    listedClass_ = patientClassOf(option);
    ListView1->clear();
    lblMoreMatch->hide();
    // A new list comes in the server's order.
    ListView1->header()->setSortIndicatorShown(false);
    sortColumn_ = -1;
    QList<QTreeWidgetItem *> items;
    try {
        Recordset rs = connection_.Open(patientListText(patientListMode(option, previous),
                                                        txtSearch[0]->text(), txtSearch[1]->text(),
                                                        txtSearch[2]->text()));
        for (; !rs.atEnd(); rs.MoveNext()) {
            if (items.size() == platform::PatientListRows) {
                lblMoreMatch->setText(moreMatchText());
                lblMoreMatch->show();
                break;
            }
            auto *item = new PatientItem;
            item->setText(HospNumColumn, rs.Fields(QStringLiteral("Hospital #")).toString());
            item->setText(IdNumColumn, rs.Fields(QStringLiteral("Admission #")).toString());
            item->setText(NameColumn, rs.Fields(QStringLiteral("Patient Name")).toString());
            item->setText(AdmissionColumn, rs.Fields(QStringLiteral("admission date")).toString());
            item->setText(BillingColumn, rs.Fields(QStringLiteral("Billing Date")).toString());
            items.append(item);
        }
        ListView1->addTopLevelItems(items);
        widgets::widenToContents(ListView1);
    } catch (const DatabaseError &e) {
        qDeleteAll(items);
        widgets::msgCritical(e.message());
    }
}

void frmSearchPatient::sortByColumn(int column)
{
    // Kept here rather than read back from the header, which flips its own
    // indicator on a click before telling us.
    sortOrder_ = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                           : Qt::AscendingOrder;
    sortColumn_ = column;
    ListView1->header()->setSortIndicatorShown(true);
    ListView1->sortItems(column, sortOrder_);
}

void frmSearchPatient::chooseCurrentPatient()
{
    choose(ListView1->currentItem());
}

void frmSearchPatient::choose(QTreeWidgetItem *item)
{
    if (ListView1->topLevelItemCount() == 0) {
        widgets::msgInformation(QStringLiteral("No Patient searched."));
        return;
    }
    if (!item)
        return;
    chosenBillingDate_ = item->text(BillingColumn);
    if (!panel_)
        return;
    panel_->setMenuEnabled(platform::MainAction::PatientLedger, true);
    panel_->showPatient(
        {item->text(HospNumColumn), item->text(IdNumColumn), item->text(NameColumn),
         listedClass_ == QLatin1String("I") ? QStringLiteral("I") : QStringLiteral("O"),
         chosenBillingDate_});
}

void frmSearchPatient::receivableEntry()
{
    if (!lblReceivableEntry->isEnabled())
        return;
    auto &g = session::globals();
    try {
        g.ReceivableMode = HasReceivableRight(connection_, employeeCode_);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        return;
    }
    if (!g.ReceivableMode) {
        widgets::messages().message(QStringLiteral("Unauthorized user"),
                                    QStringLiteral("Information"),
                                    widgets::MessageService::Question);
        return;
    }
    if (panel_)
        panel_->enterReceivableMode();
    Q_EMIT receivableEntryRequested();
}

void frmSearchPatient::closeEvent(QCloseEvent *event)
{
    unload(true);
    QWidget::closeEvent(event);
}

void frmSearchPatient::unload(bool touchMainWindow)
{
    if (unloaded_)
        return;
    unloaded_ = true;
    session::globals().PatientListLoaded = false;
    // The main window's buttons are its own to restore, each by the user's
    // rights; only the ledger item, which needs a chosen patient, goes here.
    if (touchMainWindow && panel_)
        panel_->setMenuEnabled(platform::MainAction::PatientLedger, false);
    Q_EMIT unloaded();
}

bool frmSearchPatient::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == ListView1 && enter) {
            chooseCurrentPatient();
            return true;
        }
        for (QLineEdit *box : txtSearch) {
            if (watched != box)
                continue;
            if (enter) {
                listPatients(false);
                return true;
            }
            if (key == Qt::Key_Down && ListView1->topLevelItemCount() > 0) {
                ListView1->setFocus();
                if (!ListView1->currentItem())
                    ListView1->setCurrentItem(ListView1->topLevelItem(0));
                return true;
            }
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == ListView1->viewport() &&
               ListView1->topLevelItemCount() == 0) {
        choose(nullptr);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace chemodesk::patients
