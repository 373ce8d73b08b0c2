#include "app/dialogs/DataSourceSelForm.h"

#include "ui/AppStyle.h"
#include "ui/MessageBoxes.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

DataSourceSelForm::DataSourceSelForm(QWidget* parent) : QDialog(parent)
{
    buildForm();
    setStyleSheet(appStyleSheet());
    connect(btnOK, &QPushButton::pressed, this, &DataSourceSelForm::onBtnOkPressed);
    connect(btnClose, &QPushButton::pressed, this, &QDialog::reject);
}

void DataSourceSelForm::buildForm()
{
    setObjectName(QStringLiteral("DataSourceSelForm"));
    setFixedSize(421, 152);
    setWindowTitle(tr("Dialog"));

    lbSelDevice = new QLabel(tr("IDS_TITLE_SELECT_ONE_DEVICE_TO_TRANSFER"), this);
    lbSelDevice->setObjectName(QStringLiteral("lbSelDevice"));
    lbSelDevice->setGeometry(10, 20, 401, 16);

    cbDevice = new QComboBox(this);
    cbDevice->setObjectName(QStringLiteral("cbDevice"));
    cbDevice->setGeometry(10, 50, 401, 22);
    cbDevice->setEditable(false);

    auto* layoutWidget = new QWidget(this);
    layoutWidget->setObjectName(QStringLiteral("layoutWidget"));
    layoutWidget->setGeometry(100, 100, 211, 25);
    auto* horizontalLayout = new QHBoxLayout(layoutWidget);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setContentsMargins(0, 0, 0, 0);

    btnOK = new QPushButton(tr("\u786e\u5b9a"), layoutWidget);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    horizontalLayout->addWidget(btnOK);
    btnClose = new QPushButton(tr("\u53d6\u6d88"), layoutWidget);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    horizontalLayout->addWidget(btnClose);
}

qint64 DataSourceSelForm::select(const QString& caption, const QList<DataSourceItem>& items)
{
    lbSelDevice->setText(caption);
    for (const DataSourceItem& item : items)
        cbDevice->addItem(QIcon(item.iconPath), item.text, QVariant::fromValue(item.key));
    cbDevice->setCurrentIndex(items.size() > 1 ? -1 : 0);
    if (exec() != QDialog::Accepted)
        return 0;
    return cbDevice->currentData(Qt::UserRole).toLongLong();
}

void DataSourceSelForm::onBtnOkPressed()
{
    if (cbDevice->currentIndex() == -1) {
        showWarningBox(tr("IDS_PLEASE_SELECT_ONE_DATASOURCE"));
        return;
    }
    accept();
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_DataSourceSelForm.cpp"
