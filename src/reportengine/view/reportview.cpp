#include "reportview.h"

#include "printing.h"
#include "reportengine/templatereport.h"

#include "widgets/messages.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace chemodesk::reportengine {

namespace {

const int Percents[] = {25, 50, 75, 100, 125, 150, 200, 300};

QToolButton *navButton(QWidget *parent, const char *name, const QString &caption,
                       const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

ReportView::ReportView(TemplateReport &report, bool showGroupTree, QWidget *parent)
    : QWidget(parent), report_(report)
{
    setObjectName(QStringLiteral("CRViewer1"));
    setFocusPolicy(Qt::StrongFocus);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    cmdFirstPage =
        navButton(this, "cmdFirstPage", QStringLiteral("|<"), tr("First page (Ctrl+Home)"));
    cmdPreviousPage =
        navButton(this, "cmdPreviousPage", QStringLiteral("<"), tr("Previous page (Page Up)"));
    txtPage = new QSpinBox(this);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setToolTip(tr("Page number"));
    lblPageCount = new QLabel(this);
    lblPageCount->setObjectName(QStringLiteral("lblPageCount"));
    cmdNextPage = navButton(this, "cmdNextPage", QStringLiteral(">"), tr("Next page (Page Down)"));
    cmdLastPage = navButton(this, "cmdLastPage", QStringLiteral(">|"), tr("Last page (Ctrl+End)"));
    cboZoom = new QComboBox(this);
    cboZoom->setObjectName(QStringLiteral("cboZoom"));
    cboZoom->addItem(tr("Fit width"));
    cboZoom->addItem(tr("Fit page"));
    for (int p : Percents)
        cboZoom->addItem(QStringLiteral("%1%").arg(p), p);
    auto *zoomLabel = new QLabel(tr("&Zoom:"), this);
    zoomLabel->setBuddy(cboZoom);
    bar->addWidget(cmdFirstPage);
    bar->addWidget(cmdPreviousPage);
    bar->addWidget(txtPage);
    bar->addWidget(lblPageCount);
    bar->addWidget(cmdNextPage);
    bar->addWidget(cmdLastPage);
    bar->addSpacing(16);
    bar->addWidget(zoomLabel);
    bar->addWidget(cboZoom);
    bar->addStretch();

    tvwGroups = new QTreeWidget(this);
    tvwGroups->setObjectName(QStringLiteral("tvwGroups"));
    tvwGroups->setHeaderHidden(true);
    tvwGroups->setColumnCount(1);
    scrPage = new QScrollArea(this);
    scrPage->setObjectName(QStringLiteral("scrPage"));
    scrPage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scrPage->setBackgroundRole(QPalette::Dark);
    imgPage = new QLabel(scrPage);
    imgPage->setObjectName(QStringLiteral("imgPage"));
    scrPage->setWidget(imgPage);
    scrPage->viewport()->installEventFilter(this);
    auto *split = new QSplitter(this);
    split->addWidget(tvwGroups);
    split->addWidget(scrPage);
    split->setStretchFactor(1, 4);
    split->setSizes({200, 800});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    // The tree: subreports at the top level, groups nested by level.
    std::vector<QTreeWidgetItem *> parents;
    for (const PageLayout::Bookmark &mark : report_.layout().bookmarks()) {
        parents.resize(size_t(mark.level));
        QTreeWidgetItem *owner = nullptr;
        for (auto it = parents.rbegin(); it != parents.rend() && !owner; ++it)
            owner = *it;
        auto *item = owner ? new QTreeWidgetItem(owner) : new QTreeWidgetItem(tvwGroups);
        item->setText(0, mark.text);
        item->setData(0, Qt::UserRole, mark.page);
        parents.push_back(item);
    }
    tvwGroups->expandToDepth(0);
    tvwGroups->setVisible(showGroupTree);

    txtPage->setRange(1, std::max(1, pageCount()));
    lblPageCount->setText(tr("of %1").arg(pageCount()));
    connect(cmdFirstPage, &QToolButton::clicked, this, [this] { setPage(0); });
    connect(cmdPreviousPage, &QToolButton::clicked, this, [this] { setPage(page_ - 1); });
    connect(cmdNextPage, &QToolButton::clicked, this, [this] { setPage(page_ + 1); });
    connect(cmdLastPage, &QToolButton::clicked, this, [this] { setPage(pageCount() - 1); });
    connect(txtPage, &QSpinBox::valueChanged, this, [this](int value) { setPage(value - 1); });
    connect(cboZoom, &QComboBox::activated, this, &ReportView::zoomChosen);
    connect(tvwGroups, &QTreeWidget::itemClicked, this, &ReportView::groupChosen);
    connect(tvwGroups, &QTreeWidget::itemActivated, this, &ReportView::groupChosen);
    setTabOrder(txtPage, cboZoom);
    updateControls();
    render();
}

int ReportView::pageCount() const
{
    return report_.layout().pageCount();
}

void ReportView::setPage(int page)
{
    page = std::clamp(page, 0, std::max(0, pageCount() - 1));
    if (page == page_ && !imgPage->pixmap().isNull())
        return;
    page_ = page;
    updateControls();
    render();
    scrPage->verticalScrollBar()->setValue(0);
}

void ReportView::setFitWidth()
{
    mode_ = ZoomMode::FitWidth;
    updateControls();
    render();
}

void ReportView::setFitPage()
{
    mode_ = ZoomMode::FitPage;
    updateControls();
    render();
}

void ReportView::setZoomPercent(int percent)
{
    mode_ = ZoomMode::Percent;
    percent_ = std::clamp(percent, 10, 400);
    updateControls();
    render();
}

double ReportView::scale() const
{
    const QSizeF page = report_.layout().pageSize();
    const QSize room = scrPage->viewport()->size() - QSize(16, 16);
    switch (mode_) {
    case ZoomMode::FitWidth:
        return std::max(0.1, room.width() / page.width());
    case ZoomMode::FitPage:
        return std::max(0.1, std::min(room.width() / page.width(), room.height() / page.height()));
    case ZoomMode::Percent:
        break;
    }
    return percent_ / 100.0 * logicalDpiX() / 72.0;
}

bool ReportView::groupTreeShown() const
{
    return !tvwGroups->isHidden();
}

void ReportView::setShowGroupTree(bool show)
{
    tvwGroups->setVisible(show);
}

bool ReportView::PrintReport()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report_.layout().pageLayout());
    printer.setFromTo(1, pageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, pageCount());
    if (widgets::execModal(dialog) != QDialog::Accepted)
        return false;
    int first = 0;
    int last = pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = printer.toPage() > 0 ? printer.toPage() - 1 : last;
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = page_;
    }
    reportengine::printTo(report_, printer, first, last);
    return true;
}

void ReportView::render()
{
    const double s = scale();
    const QSizeF page = report_.layout().pageSize();
    QImage image((page * s).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(s, s);
        report_.layout().paintPage(painter, page_);
    }
    imgPage->setPixmap(QPixmap::fromImage(image));
    imgPage->resize(image.size());
}

void ReportView::updateControls()
{
    const int last = pageCount() - 1;
    cmdFirstPage->setEnabled(page_ > 0);
    cmdPreviousPage->setEnabled(page_ > 0);
    cmdNextPage->setEnabled(page_ < last);
    cmdLastPage->setEnabled(page_ < last);
    const QSignalBlocker block(txtPage);
    txtPage->setValue(page_ + 1);
    const QSignalBlocker blockZoom(cboZoom);
    if (mode_ == ZoomMode::FitWidth)
        cboZoom->setCurrentIndex(0);
    else if (mode_ == ZoomMode::FitPage)
        cboZoom->setCurrentIndex(1);
    else
        cboZoom->setCurrentIndex(std::max(0, cboZoom->findData(percent_)));
}

void ReportView::zoomChosen(int index)
{
    if (index == 0)
        setFitWidth();
    else if (index == 1)
        setFitPage();
    else
        setZoomPercent(cboZoom->itemData(index).toInt());
}

void ReportView::groupChosen(QTreeWidgetItem *item)
{
    if (item)
        setPage(item->data(0, Qt::UserRole).toInt());
}

void ReportView::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_PageDown)
        setPage(page_ + 1);
    else if (event->key() == Qt::Key_PageUp)
        setPage(page_ - 1);
    else if (control && event->key() == Qt::Key_Home)
        setPage(0);
    else if (control && event->key() == Qt::Key_End)
        setPage(pageCount() - 1);
    else
        QWidget::keyPressEvent(event);
}

bool ReportView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == scrPage->viewport() && event->type() == QEvent::Resize &&
        mode_ != ZoomMode::Percent && scrPage->viewport()->size() != fittedTo_) {
        fittedTo_ = scrPage->viewport()->size();
        render();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace chemodesk::reportengine
