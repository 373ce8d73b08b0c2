// Import: a phone's XML backup file into a local database.
#include "app/MainWindow.h"

#include "base/AppDirs.h"
#include "app/tree/ItemModelMain.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBoxes.h"
#include "country/forms/CountrySelForm.h"
#include "import/ImportCountry.h"
#include "import/ImportXmlThread.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"
#include "store/IOS6MessageDb.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

// Asks for the backup file, then for the local database it goes into (an
// existing one, merged, or a new one) and, for a database that keeps no
// country yet, for the country of the numbers; imports it and shows the
// database. A database made for this import goes again when the import
// fails or is cancelled.
void MainWindow::miImportXml()
{
    const QString file =
        askOpenFileName(this, tr("Import XML Backup"), QDir::homePath(),
                        tr("XML Backup (*.xml)") + QStringLiteral(";;") + tr("All Files (*)"));
    if (file.isEmpty())
        return;
    bool created = false;
    _LocalDBItemNode* target = pickLocalDbForWriting(QFileInfo(file).completeBaseName(), &created);
    if (!target)
        return;
    QString country;
    bool imported = importCountry(target, file, country);
    if (imported) {
        ProgressForm form(QString(), this);
        ImportXmlThread job(file, target->db->folder(), country, &form, this);
        imported = runJob(form, job);
    }
    if (!imported) {
        if (created)
            discardLocalDb(target);
        return;
    }
    reloadSource(target);
}

// The country the import normalises the numbers with: the one the database
// keeps, else the user's choice in the country dialog, preset with the
// country of the file's international numbers, else with the system's.
// False when the user cancelled the look at the file, or it failed.
bool MainWindow::importCountry(_LocalDBItemNode* target, const QString& file, QString& country)
{
    try {
        country = storedDatabaseCountry(target->db->folder());
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
        return false;
    }
    if (!country.isEmpty())
        return true;
    QString guessed;
    {
        ProgressForm form(QString(), this);
        XmlCountryGuessThread job(file, &form, this);
        if (!runJob(form, job))
            return false;
        guessed = job.country().sn;
    }
    if (guessed.isEmpty())
        guessed = systemLocaleCountry();
    CountrySelForm form(this);
    form.preselect(guessed);
    country = form.exec() == QDialog::Accepted ? form.selectedRegion() : guessed;
    return true;
}

// Removes a local database made for a job that did not complete: its folder and its node.
void MainWindow::discardLocalDb(_LocalDBItemNode* target)
{
    target->db->close();
    removeDirRecursively(target->db->folder().absolutePath());
    removeSourceNode(target);
}
