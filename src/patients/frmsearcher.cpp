#include "frmsearcher.h"

#include "ultrasoundpick.h"
#include "widgets/dialogparts.h"
#include "widgets/pickergrid.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace chemodesk::patients {

namespace {
const QStringList Headers{QStringLiteral("Ultra Exam"), QStringLiteral("Ultra ExamID")};
}

frmSearcher::frmSearcher(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmSearcher"));
    setWindowTitle(QStringLiteral("Ultrasound Exams"));
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    auto *caption = new QLabel(QStringLiteral("Ultra Exam"), this);
    caption->setBuddy(txtSearch);
    grdExam = widgets::makePickerGrid(this);
    grdExam->setObjectName(QStringLiteral("grdExam"));
    cmdSelect = widgets::namedButton(this, "cmdSelect", QStringLiteral("&Select"));
    cmdSelect->setEnabled(false);
    cmdCancel = widgets::namedButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    auto *buttons = widgets::buttonRow({cmdSelect, cmdCancel});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(txtSearch);
    layout->addWidget(grdExam, 1);
    layout->addLayout(buttons);
    resize(460, 360);

    connect(txtSearch, &QLineEdit::textEdited, this,
            [this](const QString &typed) { fill(narrowedText(typed)); });
    connect(grdExam, &QTableWidget::cellDoubleClicked, this, [this] { selectRow(); });
    connect(cmdSelect, &QPushButton::clicked, this, &frmSearcher::selectRow);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSearcher::reject);
    txtSearch->installEventFilter(this);
    grdExam->installEventFilter(this);
}

QString frmSearcher::listText()
{
    return QStringLiteral(
        "select ultraexam as UtraExam, ultraexamid as UltraExamId from build_file..tbcoultraexam");
}

QString frmSearcher::narrowedText(const QString &typed)
{
    return QStringLiteral("select ultraexam, ultraexamid from build_file..tbcoultraexam where "
                          "ultraexam like'") +
           sql::escape(typed) + QStringLiteral("%'");
}

void frmSearcher::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (loaded_)
        return;
    loaded_ = true;
    fill(listText());
    txtSearch->setFocus();
}

void frmSearcher::fill(const QString &text)
{
    try {
        Recordset rs = connection_.Open(text);
        widgets::fillPickerGrid(grdExam, rs, Headers);
    } catch (const DatabaseError &e) {
        grdExam->setRowCount(0);
        widgets::msgCritical(e.message());
    }
    cmdSelect->setEnabled(grdExam->rowCount() > 0);
}

void frmSearcher::selectRow()
{
    if (!cmdSelect->isEnabled() || grdExam->currentRow() < 0)
        return;
    pick_.UltraExamName = widgets::currentText(grdExam, 0);
    pick_.UltraExamID = widgets::currentText(grdExam, 1);
    accept();
}

void frmSearcher::reject()
{
    pick_ = {};
    QDialog::reject();
}

bool frmSearcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            (watched == txtSearch || watched == grdExam)) {
            selectRow();
            return true;
        }
        if (watched == txtSearch && key == Qt::Key_Down) {
            grdExam->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace chemodesk::patients
