#pragma once

#include <QString>

// The application title: caption of every message box and input box.
namespace App {
inline const QString Title = QStringLiteral("Varnoth");
}
