#include "country/forms/CountrySelForm.h"

#include "ui/AppStyle.h"
#include "ui/MessageBoxes.h"
#include "country/CountryLibDb.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <exception>

CountrySelForm::CountrySelForm(QWidget* parent) : QDialog(parent)
{
    buildForm();
    connect(txtKW, &QLineEdit::textChanged, this, &CountrySelForm::kwinput);
    connect(btnOK, &QPushButton::pressed, this, &CountrySelForm::accept);
    setStyleSheet(appStyleSheet());
    loadCountries();
}

void CountrySelForm::buildForm()
{
    setObjectName(QStringLiteral("CountrySelForm"));
    resize(326, 398);
    setWindowTitle(tr("Dialog"));

    auto* verticalLayout_3 = new QVBoxLayout(this);
    verticalLayout_3->setObjectName(QStringLiteral("verticalLayout_3"));
    verticalLayout_3->setSpacing(10);
    const QMargins margins = verticalLayout_3->contentsMargins();
    verticalLayout_3->setContentsMargins(margins.left(), 15, margins.right(), 15);

    lbTitle = new QLabel(tr("IDS_SEL_YOUR_PHONE_COUNTRY"), this);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    verticalLayout_3->addWidget(lbTitle);

    auto* widget = new QWidget(this);
    widget->setObjectName(QStringLiteral("widget"));
    auto* verticalLayout_2 = new QVBoxLayout(widget);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    verticalLayout_2->setSpacing(2);
    verticalLayout_2->setContentsMargins(0, 10, 0, 0);
    txtKW = new QLineEdit(widget);
    txtKW->setObjectName(QStringLiteral("txtKW"));
    verticalLayout_2->addWidget(txtKW);
    ltCountries = new QListWidget(widget);
    ltCountries->setObjectName(QStringLiteral("ltCountries"));
    verticalLayout_2->addWidget(ltCountries);
    verticalLayout_3->addWidget(widget);

    auto* widget_2 = new QWidget(this);
    widget_2->setObjectName(QStringLiteral("widget_2"));
    auto* horizontalLayout = new QHBoxLayout(widget_2);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(10);
    horizontalLayout->setContentsMargins(0, 0, 0, 0);
    horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    btnOK = new QPushButton(tr("OK"), widget_2);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true); // Enter in the filter chooses the current country
    horizontalLayout->addWidget(btnOK);
    verticalLayout_3->addWidget(widget_2);
}

void CountrySelForm::loadCountries()
{
    try {
        CountryLibDb countries{QString()};
        countries.open();
        Sqlite3Cursor cursor = countries.queryThrow(
            QStringLiteral("select pnum, n, substr(mmc,0,4) as mmc, sn from countries order by n asc"));
        while (cursor.moveNext()) {
            entries.append(
                {cursor.getText(QStringLiteral("mmc")),
                 QStringLiteral("%1 (+%2)")
                     .arg(cursor.getText(QStringLiteral("n")), cursor.getText(QStringLiteral("pnum"))),
                 cursor.getText(QStringLiteral("sn"))});
        }
    } catch (const std::exception& e) {
        entries.clear();
        showErrorBox(QString::fromUtf8(e.what()));
    }
    for (const auto& entry : std::as_const(entries))
        addItem(entry);
}

void CountrySelForm::addItem(const Entry& entry)
{
    auto* item = new QListWidgetItem(entry.text, ltCountries);
    item->setData(Qt::UserRole, entry.mcc);
    item->setData(Qt::UserRole + 1, entry.region);
}

void CountrySelForm::preselect(const QString& regionCode)
{
    for (int row = 0; row < ltCountries->count(); ++row) {
        QListWidgetItem* item = ltCountries->item(row);
        if (!regionCode.isEmpty() && item->data(Qt::UserRole + 1).toString() == regionCode.toUpper()) {
            ltCountries->setCurrentItem(item);
            ltCountries->scrollToItem(item, QAbstractItemView::PositionAtCenter);
            return;
        }
    }
}

void CountrySelForm::kwinput(const QString& kw)
{
    ltCountries->clear();
    for (const auto& entry : std::as_const(entries)) {
        if (entry.text.contains(kw, Qt::CaseInsensitive))
            addItem(entry);
    }
}

void CountrySelForm::accept()
{
    // Without any country to offer there is nothing to choose: the dialog
    // closes unaccepted and the phone keeps the code it reported.
    if (entries.isEmpty()) {
        QDialog::reject();
        return;
    }
    const QListWidgetItem* current = ltCountries->currentItem();
    if (!current) {
        showWarningBox(tr("IDS_CANT_CONTINUE_WITHOUT_SEL_ONE_COUNTRY"));
        return;
    }
    if (!askYesNo(tr("IDS_CONFIRM_SEL_COUNTRY_%1").arg(current->text())))
        return;
    mcc = current->data(Qt::UserRole).toString();
    region = current->data(Qt::UserRole + 1).toString();
    QDialog::accept();
}

// Escape and the window's close button leave without a choice; the caller
// then keeps the country it had (the phone's code, the file's guess).
void CountrySelForm::reject()
{
    QDialog::reject();
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_CountrySelForm.cpp"
