#pragma once

// The report viewer: the report's pages (the engine's page view), printing,
// and saving the report as an Excel workbook, a Rich Text file or a PDF file.
// The export buttons sit on a panel that "More" shows and hides. File and
// print dialogs go through the message service.

#include <QDialog>

class QFrame;
class QPushButton;
class QToolButton;

namespace chemodesk::platform {
class Report;
class ReportEngine;
enum class ExportFormat;
} // namespace chemodesk::platform

namespace chemodesk::reports {

class frmReportviewer : public QDialog {
    Q_OBJECT
public:
    frmReportviewer(platform::Report &report, platform::ReportEngine &engine,
                    QWidget *parent = nullptr);

    bool ShowGroupTree = false;
    bool DirectPrint = false;

    // Puts the report in the page view (running it: a failing report raises
    // platform::ReportError and nothing is shown) and, with DirectPrint,
    // prints it at once.
    void Form_Load();

    // The engine's page view, made by Form_Load.
    QWidget *CRViewer1 = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdMore = nullptr;
    QFrame *fraMore = nullptr;
    QToolButton *imgPrint = nullptr;
    QToolButton *imgExcel = nullptr;
    QToolButton *imgRTF = nullptr;
    QToolButton *imgPDF = nullptr;

    // The buttons' actions.
    void PrintReport();
    void ExportExcel();
    void ExportRtf();
    void ExportPdf();
    void ToggleMore();

private:
    void exportAs(const QString &filter, const QString &suffix, platform::ExportFormat format);

    platform::Report &report_;
    platform::ReportEngine &engine_;
};

} // namespace chemodesk::reports
