#pragma once

#include "WindowTestKit.h"

// The sources most window tests start from: local databases Alpha (Bob Jones,
// Alice Smith) and Beta (Carol White), and up to two virtual phones: Phone A
// (Erin Black, Dave Brown) and Phone B (Frank Green).
extern const ConversationSpec kAlice;
extern const ConversationSpec kBob;
extern const ConversationSpec kCarol;
extern const ConversationSpec kDave;
extern const ConversationSpec kErin;
extern const ConversationSpec kFrank;

void writeStandardSources(int phones);

// "db:Alpha", "phone:Phone A", "conv:Alpha/Alice Smith" (the database is read
// first), "root:Devices", "root:Local Databases"; null for anything else.
AbsTreeItemModel::_ItemNode* nodeAt(MainWindow& window, const QString& path);
