#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ActivationDialog;
}

// Activates a new account with the code that the service e-mailed after sign-up. It knows nothing of
// the account: the code alone identifies it.
class ActivationDialog : public QDialog {
    Q_OBJECT
public:
    explicit ActivationDialog(QWidget* parent = nullptr);
    ~ActivationDialog() override;

    static QString refusedText();
    static QString failureText();

public slots:
    void activate();

signals:
    // The service accepted the code and the user has closed the notice.
    void activated();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::ActivationDialog> m_ui;
};
