#pragma once

#include "android/AndroidDevice.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Connect Android via WiFi": the user types the address the companion app
// shows on the phone, and the WiFi connect job runs under a progress dialog.
// Accepted with the phone's record once a phone answered; after a failure
// the dialog stays open for another try.
class AndroidWIFIForm : public QDialog
{
    Q_OBJECT
public:
    explicit AndroidWIFIForm(QWidget* parent = nullptr);

    // The connected phone; valid after the dialog was accepted.
    AndroidDevice device;

public slots:
    void onBtnConnect();

private:
    void buildForm();

    QLabel* label_2 = nullptr;
    QLabel* label = nullptr;
    QLineEdit* txtWifiSocket = nullptr;
    QPushButton* btnConnect = nullptr;
    QPushButton* btnClose = nullptr;
    QLabel* lbTipsDownloadWifiConnection = nullptr;
};
