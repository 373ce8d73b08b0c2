#pragma once

#include "app/ui/WinMovable.h"

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The country of a phone that reported no mobile country code the country
// library knows: a list of every country, filtered by what the user types,
// left only by choosing one (OK, then Yes). When the list could not be
// loaded, OK and Escape close it without a choice.
class CountrySelForm : public QDialog
{
    Q_OBJECT
public:
    explicit CountrySelForm(QWidget* parent = nullptr);

    // The chosen country's MCC, after the dialog was accepted.
    QString selectedMcc() const { return mcc; }

public slots:
    void accept() override;
    void reject() override;
    void kwinput(const QString& kw);

private:
    void buildForm();
    void loadCountries();
    void addItem(const QPair<QString, QString>& entry);

    QString mcc;
    QLabel* lbTitle = nullptr;
    QLineEdit* txtKW = nullptr;
    QListWidget* ltCountries = nullptr;
    QPushButton* btnOK = nullptr;
    WinMovable movable;
    QList<QPair<QString, QString>> entries; // MCC, display text
};
