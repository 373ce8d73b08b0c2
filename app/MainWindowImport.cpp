// Import: a phone's XML backup file into a local database.
#include "app/MainWindow.h"

#include "app/tree/ItemModelMain.h"
#include "import/ImportXmlThread.h"
#include "jobs/JobRunner.h"
#include "jobs/ProgressForm.h"
#include "store/IOS6MessageDb.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

// Asks for the backup file, then for the local database it goes into (an
// existing one, merged, or a new one), imports it and shows the database.
void MainWindow::miImportXml()
{
    const QString file =
        QFileDialog::getOpenFileName(this, tr("Import XML Backup"), QDir::homePath(),
                                     tr("XML Backup (*.xml)") + QStringLiteral(";;") + tr("All Files (*)"));
    if (file.isEmpty())
        return;
    _LocalDBItemNode* target = pickLocalDbForWriting(QFileInfo(file).completeBaseName());
    if (!target)
        return;
    {
        ProgressForm form(QString(), this);
        ImportXmlThread job(file, target->db->folder(), &form, this);
        if (!runJob(form, job))
            return;
    }
    reloadSource(target);
}
