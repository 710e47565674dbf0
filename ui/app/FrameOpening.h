#pragma once

#include <QStringList>

class QMimeData;

// The project files a drop onto the frame carries: local files ending in ".qgp" (in any case),
// every byte of their names kept. Empty when the drop holds none, so the frame refuses it.
QStringList DroppedProjects(const QMimeData& data);
