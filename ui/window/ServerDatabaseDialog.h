#pragma once
// Connection > Server Database...: the address of a PostgreSQL server (a libpq connection string or
// URL; the servers connected to before are offered), an optional password that is never stored,
// Test Connection with one clear line for each failure (unreachable, refused, wrong password, no
// database, no schema, older or newer schema), and Connect, which switches the program to the
// server and keeps this dialog open with the reason when it cannot.

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantor {

class CAppData;
class ServerAddress;

class ServerDatabaseDialog : public QDialog {
    Q_OBJECT
public:
    explicit ServerDatabaseDialog(CAppData& app, QWidget* parent = nullptr);

    QComboBox* Address() const { return address_; }
    QLineEdit* Password() const { return password_; }
    QPushButton* TestButton() const { return test_; }
    QPushButton* ConnectButton() const { return connect_; }
    QLabel* Result() const { return result_; }

    // Probes the address in the fields and shows the outcome; true when it can be used.
    bool Test();
    // Switches the program to the server; the dialog closes on success.
    bool Connect();

private:
    // The typed address with the typed password; nullopt (and the reason shown) when unreadable.
    std::optional<ServerAddress> TypedAddress();
    void Show(const QString& text, bool good);

    CAppData& app_;
    QComboBox* address_;
    QLineEdit* password_;
    QPushButton* test_;
    QPushButton* connect_;
    QLabel* result_;
};

// Opens the dialog; true when the program switched to a server.
bool RunServerDatabaseDialog(CAppData& app, QWidget* parent);

} // namespace vantor
