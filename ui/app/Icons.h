#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

// The application's pictures, drawn from the SVG set in the resources (":/icons/<name>.svg").
QPixmap SvgPixmap(const QString& name, QSize size);
// An icon with the 16 x 16 menu and 32 x 32 tool-bar renderings, drawn at its first use.
QIcon SvgIcon(const QString& name);
