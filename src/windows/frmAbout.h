#pragma once
// The About window: product name, version (major.minor), owner and the web address, which
// opens the web site when clicked, and below them the copyright and the license.
#include "SecondaryWindow.h"

class QLabel;

class frmAbout : public SecondaryWindow {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);

    // Fills the captions from the product metadata.
    void Form_Load();
    // Opens the web address through the web-site window.
    void lblWebsite_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Picture1;
    QLabel* Label1;
    QLabel* lblVersion;
    QLabel* lblCompany;
    QLabel* lblWebsite;
    QLabel* lblCopyright;
};
