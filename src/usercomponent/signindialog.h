#pragma once

// The sign-in dialog of the user component: employee id and access code, and
// where the hospital's data lives (the embedded file of this workstation or a
// PostgreSQL server). It only collects; the component checks.

#include <QDialog>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSettings;

namespace chemodesk {

// Where the data lives, as remembered in the component's settings file.
struct DatabaseChoice {
    enum Kind { Embedded, Server };
    Kind kind = Embedded;
    QString file;
    QString host;
    int port = 5432;
    QString database;
    QString user;
    // Kept in the desktop's keyring or an owner-only file (SecretStore), never in the settings.
    QString password;
    // The server's certificate is checked against `rootCertificate` (a file of trusted
    // certificates) and must name `host`.
    bool verifyCertificate = false;
    QString rootCertificate;

    // What the hospital database opens: the file path or a postgresql:// URL.
    QString target() const;
    // Empty when complete, else what to tell the user.
    QString problem() const;

    // The keyring's name for the server login.
    QString account() const;

    // The [database] group; missing values read as the embedded default file. The password
    // comes from the secret store beside the settings file.
    static DatabaseChoice read(QSettings &settings);
    void write(QSettings &settings) const;
};

class SignInDialog : public QDialog {
    Q_OBJECT
public:
    explicit SignInDialog(QWidget *parent = nullptr);

    void setChoice(const DatabaseChoice &choice);
    DatabaseChoice choice() const;

    QLineEdit *txtEmployeeID = nullptr;
    QLineEdit *txtAccessCode = nullptr;
    QGroupBox *fraDatabase = nullptr;
    QRadioButton *optEmbedded = nullptr;
    QRadioButton *optServer = nullptr;
    QLineEdit *txtFile = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QLineEdit *txtHost = nullptr;
    QLineEdit *txtPort = nullptr;
    QLineEdit *txtDatabase = nullptr;
    QLineEdit *txtUser = nullptr;
    QLineEdit *txtPassword = nullptr;
    QCheckBox *chkVerifyCertificate = nullptr;
    QLineEdit *txtRootCertificate = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateKind();
    void browse();
};

} // namespace chemodesk
