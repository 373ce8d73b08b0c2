#pragma once

#include <QString>

// The promotion link of the vendor's server as the status bar shows it: one
// anchor, rebuilt from the href and the plain text of the reply's anchor (no
// other markup, no picture, ever reaches the label), in the promotion colour.
// Empty when the reply is not a single anchor whose href is a web address
// (http or https) with some text. The window stores the result in "last-adv"
// and checks that file the same way at start.
QString promotionLinkHtml(const QString& reply);

// The most characters of link text shown; longer texts are cut.
inline constexpr int kPromotionTextLimit = 100;
