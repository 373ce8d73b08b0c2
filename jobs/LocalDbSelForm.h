#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

// Asks for the local database a backup goes to: pick an existing one (the
// messages are merged into it) or type a new name (a new database is made).
//
//     LocalDbSelForm form(existingNames, sourceName + "_Backup", this);
//     const QString name = form.selectDatabaseName();
//     if (name.isEmpty())
//         return; // cancelled
//
// The name comes back untrimmed and follows the name rule of the local
// databases (LocalDbCatalogue::isUsableName), so it always names a plain,
// listed sub-folder of the local-databases folder.
class LocalDbSelForm : public QDialog
{
    Q_OBJECT
public:
    LocalDbSelForm(const QStringList& names, const QString& suggestedName, QWidget* parent);

    // Runs the dialog modally; the entered name when confirmed, else empty.
    QString selectDatabaseName();

public slots:
    // Confirm: warns about an empty or unusable name and stays open, else accepts.
    void onBtnOkPress();

private:
    void buildWidgets();

    QString enteredName;
    QLabel* label = nullptr;
    QComboBox* cbLocalDbNames = nullptr;
    QWidget* layoutWidget = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnClose = nullptr;
};
