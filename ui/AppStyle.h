#pragma once

#include <QString>

// The application style sheet (resource ":style.css"), read once.
QString appStyleSheet();
