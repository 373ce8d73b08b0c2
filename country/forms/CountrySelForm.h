#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The country of a phone that reported no mobile country code the country
// library knows, or of the numbers of an imported XML backup: a list of every
// country, filtered by what the user types. A choice is confirmed with OK,
// then Yes; Escape or the close button leave without one (and so does OK
// when the list could not be loaded).
class CountrySelForm : public QDialog
{
    Q_OBJECT
public:
    explicit CountrySelForm(QWidget* parent = nullptr);

    // Makes the country of the region code the current item, when it is listed.
    void preselect(const QString& regionCode);

    // The chosen country's MCC, after the dialog was accepted.
    QString selectedMcc() const { return mcc; }
    // The chosen country's region code, after the dialog was accepted.
    QString selectedRegion() const { return region; }

public slots:
    void accept() override;
    void reject() override;
    void kwinput(const QString& kw);

private:
    struct Entry
    {
        QString mcc;
        QString text;
        QString region;
    };

    void buildForm();
    void loadCountries();
    void addItem(const Entry& entry);

    QString mcc;
    QString region;
    QLabel* lbTitle = nullptr;
    QLineEdit* txtKW = nullptr;
    QListWidget* ltCountries = nullptr;
    QPushButton* btnOK = nullptr;
    QList<Entry> entries;
};
