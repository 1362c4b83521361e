#include "signindialog.h"

#include "hospitaldb/database.h"
#include "secretstore.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace chemodesk {

QString DatabaseChoice::target() const
{
    if (kind == Embedded)
        return file;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(host.trimmed());
    url.setPort(port);
    url.setPath(QLatin1Char('/') + database.trimmed());
    url.setUserName(user.trimmed());
    url.setPassword(password);
    if (verifyCertificate) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("sslmode"), QStringLiteral("verify-full"));
        if (!rootCertificate.trimmed().isEmpty())
            query.addQueryItem(QStringLiteral("sslrootcert"), rootCertificate.trimmed());
        url.setQuery(query);
    }
    return url.toString();
}

QString DatabaseChoice::account() const
{
    return QStringLiteral("%1@%2:%3/%4")
        .arg(user.trimmed(), host.trimmed())
        .arg(port)
        .arg(database.trimmed());
}

QString DatabaseChoice::problem() const
{
    if (kind == Embedded)
        return file.trimmed().isEmpty() ? QStringLiteral("Please choose the database file.")
                                        : QString();
    if (host.trimmed().isEmpty())
        return QStringLiteral("Please enter the database server's host name.");
    if (port < 1 || port > 65535)
        return QStringLiteral("The server's port must be a number from 1 to 65535.");
    if (database.trimmed().isEmpty())
        return QStringLiteral("Please enter the name of the database on the server.");
    if (verifyCertificate && !rootCertificate.trimmed().isEmpty() &&
        !QFile::exists(rootCertificate.trimmed()))
        return QStringLiteral("The root certificate file %1 does not exist.")
            .arg(rootCertificate.trimmed());
    return {};
}

DatabaseChoice DatabaseChoice::read(QSettings &settings)
{
    DatabaseChoice c;
    settings.beginGroup(QStringLiteral("database"));
    c.kind = settings.value(QStringLiteral("kind")).toString() == QLatin1String("postgresql")
                 ? Server
                 : Embedded;
    c.file = settings.value(QStringLiteral("file"), hospital::defaultDatabasePath()).toString();
    c.host = settings.value(QStringLiteral("host")).toString();
    c.port = settings.value(QStringLiteral("port"), 5432).toInt();
    c.database = settings.value(QStringLiteral("name")).toString();
    c.user = settings.value(QStringLiteral("user")).toString();
    c.verifyCertificate = settings.value(QStringLiteral("verifycertificate"), false).toBool();
    c.rootCertificate = settings.value(QStringLiteral("rootcertificate")).toString();
    const QString older = QString::fromUtf8(
        QByteArray::fromBase64(settings.value(QStringLiteral("password")).toByteArray()));
    settings.endGroup();
    const SecretStore store(QFileInfo(settings.fileName()).absolutePath());
    if (c.kind == Server) {
        c.password = store.read(c.account());
        // Settings written by earlier versions kept it encoded in the file: moved out once.
        if (!older.isEmpty()) {
            if (c.password.isEmpty()) {
                c.password = older;
                store.write(c.account(), older);
            }
            settings.remove(QStringLiteral("database/password"));
            settings.sync();
        }
    }
    return c;
}

void DatabaseChoice::write(QSettings &settings) const
{
    settings.beginGroup(QStringLiteral("database"));
    settings.setValue(QStringLiteral("kind"),
                      kind == Server ? QStringLiteral("postgresql") : QStringLiteral("embedded"));
    settings.setValue(QStringLiteral("file"), file);
    settings.setValue(QStringLiteral("host"), host);
    settings.setValue(QStringLiteral("port"), port);
    settings.setValue(QStringLiteral("name"), database);
    settings.setValue(QStringLiteral("user"), user);
    settings.setValue(QStringLiteral("verifycertificate"), verifyCertificate);
    settings.setValue(QStringLiteral("rootcertificate"), rootCertificate);
    settings.remove(QStringLiteral("password"));
    settings.endGroup();
    settings.sync();
    // The settings are this account's own, as is every file the program makes.
    QFile::setPermissions(settings.fileName(), QFile::ReadOwner | QFile::WriteOwner);
    if (kind == Server)
        SecretStore(QFileInfo(settings.fileName()).absolutePath()).write(account(), password);
}

SignInDialog::SignInDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SignInDialog"));
    setWindowTitle(QStringLiteral("Sign In"));

    auto lineEdit = [this](const char *name) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    txtEmployeeID = lineEdit("txtEmployeeID");
    txtAccessCode = lineEdit("txtAccessCode");
    txtAccessCode->setEchoMode(QLineEdit::Password);

    fraDatabase = new QGroupBox(QStringLiteral("Database"), this);
    fraDatabase->setObjectName(QStringLiteral("fraDatabase"));
    optEmbedded = new QRadioButton(QStringLiteral("This &workstation's file"), fraDatabase);
    optEmbedded->setObjectName(QStringLiteral("optEmbedded"));
    optServer = new QRadioButton(QStringLiteral("PostgreSQL &server"), fraDatabase);
    optServer->setObjectName(QStringLiteral("optServer"));
    txtFile = lineEdit("txtFile");
    cmdBrowse = new QPushButton(QStringLiteral("&Browse..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    txtHost = lineEdit("txtHost");
    txtPort = lineEdit("txtPort");
    txtPort->setValidator(new QIntValidator(1, 65535, txtPort));
    txtDatabase = lineEdit("txtDatabase");
    txtUser = lineEdit("txtUser");
    txtPassword = lineEdit("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    chkVerifyCertificate = new QCheckBox(QStringLiteral("&Verify the server's certificate"), this);
    chkVerifyCertificate->setObjectName(QStringLiteral("chkVerifyCertificate"));
    txtRootCertificate = lineEdit("txtRootCertificate");
    txtRootCertificate->setPlaceholderText(QStringLiteral("~/.postgresql/root.crt"));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    cmdBrowse->setAutoDefault(false);

    auto *user = new QFormLayout;
    auto addRow = [this](QFormLayout *form, const QString &caption, QWidget *field,
                         QWidget *buddy = nullptr) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(buddy ? buddy : field);
        form->addRow(label, field);
    };
    addRow(user, QStringLiteral("&Employee ID:"), txtEmployeeID);
    addRow(user, QStringLiteral("&Access code:"), txtAccessCode);

    auto *fileRow = new QWidget(this);
    auto *fileLayout = new QHBoxLayout(fileRow);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    fileLayout->addWidget(txtFile);
    fileLayout->addWidget(cmdBrowse);
    auto *where = new QFormLayout(fraDatabase);
    where->addRow(optEmbedded);
    addRow(where, QStringLiteral("&File:"), fileRow, txtFile);
    where->addRow(optServer);
    addRow(where, QStringLiteral("&Host:"), txtHost);
    addRow(where, QStringLiteral("Po&rt:"), txtPort);
    addRow(where, QStringLiteral("&Database:"), txtDatabase);
    addRow(where, QStringLiteral("&User:"), txtUser);
    addRow(where, QStringLiteral("&Password:"), txtPassword);
    where->addRow(chkVerifyCertificate);
    addRow(where, QStringLiteral("Root &certificate:"), txtRootCertificate);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(user);
    layout->addWidget(fraDatabase);
    layout->addLayout(buttons);

    QWidget *order[] = {txtEmployeeID,      txtAccessCode, optEmbedded, txtFile,
                        cmdBrowse,          optServer,     txtHost,     txtPort,
                        txtDatabase,        txtUser,       txtPassword, chkVerifyCertificate,
                        txtRootCertificate, cmdOK,         cmdCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    txtEmployeeID->installEventFilter(this);

    connect(optEmbedded, &QRadioButton::toggled, this, &SignInDialog::updateKind);
    connect(cmdBrowse, &QPushButton::clicked, this, &SignInDialog::browse);
    connect(chkVerifyCertificate, &QCheckBox::toggled, this, &SignInDialog::updateKind);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    DatabaseChoice embedded;
    embedded.file = hospital::defaultDatabasePath();
    setChoice(embedded);
    txtEmployeeID->setFocus();
}

void SignInDialog::setChoice(const DatabaseChoice &c)
{
    (c.kind == DatabaseChoice::Server ? optServer : optEmbedded)->setChecked(true);
    txtFile->setText(c.file);
    txtHost->setText(c.host);
    txtPort->setText(QString::number(c.port));
    txtDatabase->setText(c.database);
    txtUser->setText(c.user);
    txtPassword->setText(c.password);
    chkVerifyCertificate->setChecked(c.verifyCertificate);
    txtRootCertificate->setText(c.rootCertificate);
    updateKind();
}

DatabaseChoice SignInDialog::choice() const
{
    DatabaseChoice c;
    c.kind = optServer->isChecked() ? DatabaseChoice::Server : DatabaseChoice::Embedded;
    c.file = txtFile->text().trimmed();
    c.host = txtHost->text().trimmed();
    bool ok = false;
    c.port = txtPort->text().trimmed().toInt(&ok);
    if (!ok)
        c.port = 0;
    c.database = txtDatabase->text().trimmed();
    c.user = txtUser->text().trimmed();
    c.password = txtPassword->text();
    c.verifyCertificate = chkVerifyCertificate->isChecked();
    c.rootCertificate = txtRootCertificate->text().trimmed();
    return c;
}

bool SignInDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the id moves on to the access code rather than signing in.
    if (watched == txtEmployeeID && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            txtAccessCode->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SignInDialog::updateKind()
{
    const bool embedded = optEmbedded->isChecked();
    txtFile->setEnabled(embedded);
    cmdBrowse->setEnabled(embedded);
    for (QLineEdit *box : {txtHost, txtPort, txtDatabase, txtUser, txtPassword})
        box->setEnabled(!embedded);
    chkVerifyCertificate->setEnabled(!embedded);
    txtRootCertificate->setEnabled(!embedded && chkVerifyCertificate->isChecked());
}

void SignInDialog::browse()
{
    QFileDialog dialog(this, QStringLiteral("Database File"),
                       QFileInfo(txtFile->text()).absolutePath(),
                       QStringLiteral("Database files (*.db);;All files (*)"));
    // Only a database file that is there can be chosen.
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (widgets::execModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        txtFile->setText(dialog.selectedFiles().constFirst());
}

} // namespace chemodesk
