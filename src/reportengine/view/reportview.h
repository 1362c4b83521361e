#pragma once

// The report viewer's page view: one page at a time at a chosen zoom (fit
// width, fit page or a percentage), page navigation (first, previous, next,
// last, a typed page number), the group tree beside it, and printing through
// the print dialog. Keys: Page Up / Page Down turn pages, Ctrl+Home and
// Ctrl+End go to the first and last page.

#include <QWidget>

class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace chemodesk::reportengine {

class TemplateReport;

class ReportView : public QWidget {
    Q_OBJECT
public:
    ReportView(TemplateReport &report, bool showGroupTree, QWidget *parent = nullptr);

    int pageCount() const;
    // 0-based.
    int currentPage() const { return page_; }
    void setPage(int page);

    enum class ZoomMode { FitWidth, FitPage, Percent };
    ZoomMode zoomMode() const { return mode_; }
    int zoomPercent() const { return percent_; }
    void setFitWidth();
    void setFitPage();
    void setZoomPercent(int percent);
    // Screen pixels per point of paper.
    double scale() const;

    bool groupTreeShown() const;
    void setShowGroupTree(bool show);

    // Shows the print dialog (through the message service) and prints the
    // chosen pages; false when cancelled. Raises ReportError when printing fails.
    Q_INVOKABLE bool PrintReport();

    QToolButton *cmdFirstPage = nullptr;
    QToolButton *cmdPreviousPage = nullptr;
    QToolButton *cmdNextPage = nullptr;
    QToolButton *cmdLastPage = nullptr;
    QSpinBox *txtPage = nullptr;
    QLabel *lblPageCount = nullptr;
    QComboBox *cboZoom = nullptr;
    QTreeWidget *tvwGroups = nullptr;
    QScrollArea *scrPage = nullptr;
    QLabel *imgPage = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // The page follows the room it has when it fits the width or the page.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void render();
    void updateControls();
    void zoomChosen(int index);
    void groupChosen(QTreeWidgetItem *item);

    TemplateReport &report_;
    int page_ = 0;
    ZoomMode mode_ = ZoomMode::FitWidth;
    int percent_ = 100;
    QSize fittedTo_;
};

} // namespace chemodesk::reportengine
