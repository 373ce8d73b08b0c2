#include "jobs/LocalDbSelForm.h"

#include "store/LocalDbCatalogue.h"
#include "ui/AppStyle.h"
#include "ui/MessageBoxes.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>

LocalDbSelForm::LocalDbSelForm(const QStringList& names, const QString& suggestedName, QWidget* parent)
    : QDialog(parent)
{
    buildWidgets();
    setStyleSheet(appStyleSheet());
    connect(btnOK, &QPushButton::pressed, this, &LocalDbSelForm::onBtnOkPress);
    connect(btnClose, &QPushButton::pressed, this, &QDialog::reject);

    cbLocalDbNames->addItem(QString());
    cbLocalDbNames->addItems(names);
    cbLocalDbNames->setCurrentIndex(-1);
    if (!suggestedName.isEmpty())
        cbLocalDbNames->setEditText(suggestedName);
}

void LocalDbSelForm::buildWidgets()
{
    setObjectName(QStringLiteral("LocalDbSelForm"));
    resize(423, 156);
    setMinimumSize(423, 156);
    setMaximumSize(423, 156);
    setWindowTitle(tr("Select one Database for backup"));

    label = new QLabel(this);
    label->setObjectName(QStringLiteral("label"));
    label->setGeometry(10, 20, 401, 16);
    label->setText(tr("Select current database to merge or enter a new database name:"));

    cbLocalDbNames = new QComboBox(this);
    cbLocalDbNames->setObjectName(QStringLiteral("cbLocalDbNames"));
    cbLocalDbNames->setGeometry(10, 40, 401, 22);
    cbLocalDbNames->setEditable(true);
    cbLocalDbNames->setToolTip(tr("Selecting current Database will merge messages;entering new DB name will "
                                  "create a new Database."));

    layoutWidget = new QWidget(this);
    layoutWidget->setObjectName(QStringLiteral("layoutWidget"));
    layoutWidget->setGeometry(100, 120, 211, 25);
    horizontalLayout = new QHBoxLayout(layoutWidget);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(6);
    horizontalLayout->setContentsMargins(0, 0, 0, 0);

    btnOK = new QPushButton(layoutWidget);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setText(tr("Confirm"));
    btnOK->setDefault(true); // Enter in the name field confirms
    horizontalLayout->addWidget(btnOK);
    horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    btnClose = new QPushButton(layoutWidget);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setText(tr("Cancel"));
    horizontalLayout->addWidget(btnClose);
}

void LocalDbSelForm::onBtnOkPress()
{
    enteredName = cbLocalDbNames->currentText();
    if (enteredName.trimmed().isEmpty())
        showWarningBox(tr("IDS_PLEASE_SELECT_DATABASE_OR_INPUT_NEW_NAME"));
    else if (!LocalDbCatalogue::isUsableName(enteredName))
        showWarningBox(tr("IDS_INVALID_LOCALDB_NAME"));
    else
        accept();
}

QString LocalDbSelForm::selectDatabaseName()
{
    if (exec() == QDialog::Accepted && !enteredName.isEmpty())
        return enteredName;
    return QString();
}
