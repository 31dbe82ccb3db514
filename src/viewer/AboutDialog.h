#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}

// The program's title and build number, and a button that starts the system information tool where
// there is one.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // title: the main window's caption at the moment the box opens.
    explicit AboutDialog(const QString& title, QWidget* parent = nullptr);
    ~AboutDialog() override;

public slots:
    void startSystemInformation();

private:
    std::unique_ptr<Ui::AboutDialog> m_ui;
};
