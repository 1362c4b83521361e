#include "packagedialogs.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "widgets/dialogparts.h"
#include "widgets/gridformat.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace chemodesk::packages {

namespace {

const QString Taken = QStringLiteral("1");
const QString NotTaken = QStringLiteral("2");
constexpr int PackageTypeRole = Qt::UserRole + 1;

QString field(const Recordset &rs, const char *name)
{
    const QString column = QLatin1String(name);
    return rs.HasField(column) ? rs.Fields(column).trimmed() : QString();
}

QString amountText(const Recordset &rs, const char *name)
{
    const QString column = QLatin1String(name);
    return rs.HasField(column) ? QString::number(rs.Fields(column).toDouble(), 'f', 2) : QString();
}

QString quantityText(const Recordset &rs, const char *name)
{
    const QString column = QLatin1String(name);
    return rs.HasField(column) ? QString::number(rs.Fields(column).toDouble(), 'g', 15) : QString();
}

QTableWidget *readOnlyGrid(QWidget *parent, const char *name)
{
    auto *grid = new QTableWidget(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    return grid;
}

QString cell(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

void setCell(QTableWidget *grid, int row, int column, const QString &text)
{
    grid->setItem(row, column, new QTableWidgetItem(text));
}

} // namespace

// ------------------------------------------------------------ pick dialogs

PackagePick::PackagePick(Connection &connection, const char *name, const QString &caption,
                         QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    mshflexPackage = readOnlyGrid(this, "mshflexPackage");
    mshflexPackageItems = readOnlyGrid(this, "mshflexPackageItems");
    imgLegend = new QLabel(legendText(), this);
    imgLegend->setObjectName(QStringLiteral("imgLegend"));
    cmdOption[0] = widgets::namedButton(this, "cmdOption0", QStringLiteral("&Close"));
    cmdOption[1] = widgets::namedButton(this, "cmdOption1", QStringLiteral("&Apply"));
    cmdOption[1]->setEnabled(false);

    auto *grids = new QHBoxLayout;
    grids->addWidget(mshflexPackage, 2);
    grids->addWidget(mshflexPackageItems, 3);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(imgLegend);
    bottom->addStretch();
    bottom->addWidget(cmdOption[1]);
    bottom->addWidget(cmdOption[0]);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addWidget(lblInfo);
    layout->addLayout(bottom);
    resize(980, 420);

    connect(cmdOption[0], &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdOption[1], &QPushButton::clicked, this, &PackagePick::apply);
    connect(mshflexPackage, &QTableWidget::cellClicked, this,
            [this](int row, int) { choosePackage(row); });
    connect(mshflexPackageItems, &QTableWidget::cellClicked, this,
            [this](int row, int) { toggleItem(row); });
}

QString PackagePick::legendText()
{
    return QStringLiteral("\u2714 item to take      \u2718 item not taken (click an item to "
                          "change)");
}

void PackagePick::loadPackages()
{
    lblInfo->clear();
    mshflexPackage->clear();
    mshflexPackage->setRowCount(0);
    mshflexPackageItems->clear();
    mshflexPackageItems->setRowCount(0);
    mshflexPackageItems->setColumnCount(itemColumnCount);
    widgets::applyFormatString(
        mshflexPackageItems, QStringLiteral("| |<Code|<Revenue|<Description|>Qty|>Amt|<Location|"),
        {0, 350, 600, 800, 3500, 400, 800, 0, 0});
    Recordset rs = connection_.Open(QStringLiteral("Clinical_Area..sp_Get_AdmPackages 15"));
    if (rs.atEnd()) {
        mshflexPackage->hide();
        widgets::msgInformation(QStringLiteral("There is no Package Build in Buildfile Program.."));
        return;
    }
    mshflexPackage->show();
    mshflexPackage->setColumnCount(3);
    mshflexPackage->setRowCount(int(rs.RecordCount()));
    for (int row = 0; !rs.atEnd(); rs.MoveNext(), ++row) {
        setCell(mshflexPackage, row, 0, field(rs, "Code"));
        mshflexPackage->item(row, 0)->setData(PackageTypeRole, field(rs, "PackageType"));
        setCell(mshflexPackage, row, 1, field(rs, "Description"));
        setCell(mshflexPackage, row, 2, amountText(rs, "GrossTotal"));
        mshflexPackage->item(row, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    widgets::applyFormatString(mshflexPackage, QStringLiteral("<Code|<Description|>Gross Total"),
                               {500, 2500, 1000});
    widgets::widenToContents(mshflexPackage);
}

void PackagePick::choosePackage(int row)
{
    if (row < 0 || row >= mshflexPackage->rowCount())
        return;
    chosen_.code = cell(mshflexPackage, row, 0).trimmed();
    chosen_.name = cell(mshflexPackage, row, 1).trimmed();
    chosen_.amount = cell(mshflexPackage, row, 2).trimmed();
    chosen_.type = mshflexPackage->item(row, 0)->data(PackageTypeRole).toString();
    lblInfo->setText(QStringLiteral("Gross: ") + chosen_.amount);
    mshflexPackageItems->setRowCount(0);
    try {
        Recordset rs = connection_.Open(itemsText(chosen_.code));
        mshflexPackageItems->setRowCount(int(std::max<long>(rs.RecordCount(), 0)));
        for (int item = 0; !rs.atEnd(); rs.MoveNext(), ++item) {
            setCell(mshflexPackageItems, item, 0, QString());
            setCell(mshflexPackageItems, item, itemCode, field(rs, "Code"));
            setCell(mshflexPackageItems, item, itemRevenue, field(rs, "Revenue"));
            setCell(mshflexPackageItems, item, itemDescription, field(rs, "Description"));
            setCell(mshflexPackageItems, item, itemQty, quantityText(rs, "Qty"));
            setCell(mshflexPackageItems, item, itemAmt, amountText(rs, "Amt"));
            setCell(mshflexPackageItems, item, itemLocation, field(rs, "Location"));
            setMark(item, Taken);
        }
    } catch (const DatabaseError &e) {
        mshflexPackageItems->setRowCount(0);
        widgets::msgCritical(e.message());
    }
    widgets::widenToContents(mshflexPackageItems);
    cmdOption[1]->setEnabled(mshflexPackageItems->rowCount() > 0);
}

void PackagePick::setMark(int row, const QString &mark)
{
    setCell(mshflexPackageItems, row, itemMarkColumn, mark);
    auto *picture = new QTableWidgetItem;
    picture->setIcon(style()->standardIcon(mark == Taken ? QStyle::SP_DialogApplyButton
                                                         : QStyle::SP_DialogCancelButton));
    picture->setToolTip(mark == Taken ? QStringLiteral("item to take")
                                      : QStringLiteral("item not taken"));
    mshflexPackageItems->setItem(row, itemPicture, picture);
}

void PackagePick::toggleItem(int row)
{
    if (row < 0 || row >= mshflexPackageItems->rowCount())
        return;
    setMark(row, itemMark(row) == Taken ? NotTaken : Taken);
}

QString PackagePick::itemMark(int row) const
{
    return cell(mshflexPackageItems, row, itemMarkColumn);
}

void PackagePick::apply()
{
    bool any = false;
    for (int row = 0; row < mshflexPackageItems->rowCount(); ++row)
        any = any || itemMark(row) == Taken;
    if (!any) {
        widgets::msgCritical(QStringLiteral("Please select Package Items!"),
                             QStringLiteral("Message"));
        return;
    }
    onApply(chosen_);
    for (int row = 0; row < mshflexPackageItems->rowCount(); ++row) {
        const PackageItem item{cell(mshflexPackageItems, row, itemRevenue).trimmed(),
                               cell(mshflexPackageItems, row, itemCode).trimmed(),
                               cell(mshflexPackageItems, row, itemDescription).trimmed(),
                               cell(mshflexPackageItems, row, itemQty).trimmed(),
                               cell(mshflexPackageItems, row, itemAmt).trimmed(),
                               cell(mshflexPackageItems, row, itemLocation).trimmed()};
        PackageTarget *target = itemMark(row) == Taken ? sourceGrid_
                                : sendsItemsNotTaken() ? packageGrid_
                                                       : nullptr;
        if (target)
            target->appendPackageItem(chosen_, item);
    }
    if (sourceGrid_)
        sourceGrid_->packageApplied(chosen_);
    if (sendsItemsNotTaken() && packageGrid_ && packageGrid_ != sourceGrid_)
        packageGrid_->packageApplied(chosen_);
    accept();
}

// ---------------------------------------------------------- frmOPDPackage

frmOPDPackage::frmOPDPackage(Connection &connection, QWidget *parent)
    : PackagePick(connection, "frmOPDPackage", QStringLiteral("Packages"), parent)
{
    loadPackages();
}

QString frmOPDPackage::itemsText(const QString &code) const
{
    return QStringLiteral("STATION..sp_Get_ADMPackage_Items '") + sql::escape(code) +
           QLatin1Char('\'');
}

void frmOPDPackage::onApply(const PackageInfo &package)
{
    applied_ = {true, package.code};
}

// ---------------------------------------------------------- frmListPackage

frmListPackage::frmListPackage(Connection &connection, QWidget *parent)
    : PackagePick(connection, "frmListPackage", QStringLiteral("Cancer Package"), parent)
{
    loadPackages();
}

QString frmListPackage::itemsText(const QString &code) const
{
    return QStringLiteral("Clinical_Area..sp_Get_ADMPackage_Items '") + sql::escape(code) +
           QStringLiteral("',15");
}

// --------------------------------------------------- frmListPackageCharges

frmListPackageCharges::frmListPackageCharges(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmListPackageCharges"));
    setWindowTitle(QStringLiteral("Package Charges"));
    lblCaption = new QLabel(this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont bold = lblCaption->font();
    bold.setBold(true);
    lblCaption->setFont(bold);
    lblRefNum = new QLabel(this);
    lblRefNum->setObjectName(QStringLiteral("lblRefNum"));
    grdExams = readOnlyGrid(this, "grdExams");
    cmdClose = widgets::namedButton(this, "cmdClose", QStringLiteral("&Close"), true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblCaption);
    layout->addWidget(lblRefNum);
    layout->addWidget(grdExams, 1);
    layout->addLayout(widgets::buttonRow({cmdClose}));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(760, 360);
}

void frmListPackageCharges::showEvent(QShowEvent *event)
{
    if (!loaded_)
        load();
    QDialog::showEvent(event);
}

void frmListPackageCharges::load()
{
    loaded_ = true;
    lblCaption->setText(packageName_ + QStringLiteral("- ") + packageCode_);
    lblRefNum->setText(QStringLiteral("Reference No.: ") + refNum_);
    grdExams->clear();
    grdExams->setRowCount(0);
    try {
        Recordset rs = connection_.Open(sql::call(QStringLiteral("HEMODIALYSIS"),
                                                  QStringLiteral("spKidney_GetPackageCharges"),
                                                  {refNum_, idNum_, packageCode_}));
        const QStringList columns = rs.ColumnNames();
        grdExams->setColumnCount(int(columns.size()));
        grdExams->setHorizontalHeaderLabels(columns);
        grdExams->setRowCount(int(std::max<long>(rs.RecordCount(), 0)));
        for (int row = 0; !rs.atEnd(); rs.MoveNext(), ++row)
            for (int column = 0; column < int(columns.size()); ++column)
                setCell(grdExams, row, column, rs.Fields(column).toString());
        grdExams->resizeColumnsToContents();
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
}

} // namespace chemodesk::packages
