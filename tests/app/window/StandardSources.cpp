#include "StandardSources.h"

#include "app/MainWindow.h"
#include "app/tree/ItemModelMain.h"

const ConversationSpec kAlice{QStringLiteral("Alice Smith"), QStringLiteral("+15550000001"),
                              numberedTexts(QStringLiteral("alpha alice"), 3), 400000000};
const ConversationSpec kBob{QStringLiteral("Bob Jones"), QStringLiteral("+15550000002"),
                            numberedTexts(QStringLiteral("alpha bob"), 2), 400100000};
const ConversationSpec kCarol{QStringLiteral("Carol White"), QStringLiteral("+15550000003"),
                              numberedTexts(QStringLiteral("beta carol"), 4), 400200000};
const ConversationSpec kDave{QStringLiteral("Dave Brown"), QStringLiteral("+15550000004"),
                             numberedTexts(QStringLiteral("phone dave"), 2), 400300000};
const ConversationSpec kErin{QStringLiteral("Erin Black"), QStringLiteral("+15550000005"),
                             numberedTexts(QStringLiteral("phone erin"), 3), 400400000};
const ConversationSpec kFrank{QStringLiteral("Frank Green"), QStringLiteral("+15550000006"),
                              numberedTexts(QStringLiteral("second frank"), 1), 400500000};

void writeStandardSources(int phones)
{
    writeDatabase(localDbFolder(QStringLiteral("Alpha")), {kAlice, kBob});
    writeDatabase(localDbFolder(QStringLiteral("Beta")), {kCarol});
    if (phones > 0)
        writeDatabase(virtualPhoneFolder(QStringLiteral("Phone A")), {kDave, kErin});
    if (phones > 1)
        writeDatabase(virtualPhoneFolder(QStringLiteral("Phone B")), {kFrank});
}

AbsTreeItemModel::_ItemNode* nodeAt(MainWindow& window, const QString& path)
{
    const QString kind = path.section(QLatin1Char(':'), 0, 0);
    const QString rest = path.section(QLatin1Char(':'), 1);
    ItemModelMain* model = treeModelOf(window);
    if (kind == QLatin1String("db"))
        return localDbNode(window, rest);
    if (kind == QLatin1String("phone"))
        return phoneNode(window, rest);
    if (kind == QLatin1String("root"))
        return rest == QLatin1String("Devices")
                   ? static_cast<AbsTreeItemModel::_ItemNode*>(model->deviceRoot())
                   : model->localDbRoot();
    if (kind == QLatin1String("conv")) {
        const QString source = rest.section(QLatin1Char('/'), 0, 0);
        AbsTreeItemModel::_ItemNode* parent = localDbNode(window, source);
        if (parent) {
            selectNode(window, parent); // reads the database
        } else {
            parent = phoneNode(window, source);
        }
        return childNamed(parent, rest.section(QLatin1Char('/'), 1));
    }
    return nullptr;
}
