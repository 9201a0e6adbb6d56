// The program's pictures, drawn rather than shipped as files.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tracklore {

// The application's icon: a record.
QIcon appIcon();
// The browse button's picture: a record under a magnifying glass.
QPixmap browsePixmap(int size);
// The database, closed (grey, locked) and open (green).
QPixmap databasePixmap(bool open, int size);

}  // namespace tracklore
