#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;

// One choice offered by the picker.
struct DataSourceItem
{
    QString iconPath; // a resource path
    QString text;
    qint64 key = 0; // the caller's handle for its object; 0 is never a valid key
};

// The device picker of the transfer commands: a caption, a combo box of
// choices and Confirm / Cancel. Frameless, styled and draggable.
class DataSourceSelForm : public QDialog
{
    Q_OBJECT
public:
    explicit DataSourceSelForm(QWidget* parent = nullptr);

    // Shows caption and the items (a single item comes preselected, several
    // come with none chosen) and runs the dialog modally. Returns the chosen
    // item's key, or 0 when the dialog was cancelled.
    qint64 select(const QString& caption, const QList<DataSourceItem>& items);

public slots:
    // Accepts when an entry is chosen; otherwise warns and stays open.
    void onBtnOkPressed();

private:
    void buildForm();

    QLabel* lbSelDevice = nullptr;
    QComboBox* cbDevice = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnClose = nullptr;
};
