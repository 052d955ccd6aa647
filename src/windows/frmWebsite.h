#pragma once
// The web-site window: opening it opens the product's web address in the default browser
// when asked to (WebsiteMode() "Website"); it closes itself after a second.
#include <QTimer>

#include "SecondaryWindow.h"

class QLabel;

class frmWebsite : public SecondaryWindow {
    Q_OBJECT
public:
    explicit frmWebsite(QWidget* owner = nullptr);

    void Form_Load();
    void Timer1_Timer();

    // The address opened by the load, empty when it opened nothing.
    QString openedAddress() const { return openedAddress_; }

private:
    QTimer* Timer1;
    QLabel* lblAddress;
    QString openedAddress_;
};
