#pragma once
// The freedesktop trash: files go to the home trash when they live on the
// same file system, else to the ".Trash-<uid>" folder at the top of their
// own volume, each with its ".trashinfo" record so file managers can
// restore them.

#include <QString>

namespace brx {

// Moves path to the trash. False (and the file left where it was) when no
// trash could take it.
bool moveToTrash(const QString& path);

// The trash folder used for files of the home file system:
// $XDG_DATA_HOME/Trash, or ~/.local/share/Trash.
QString homeTrashFolder();

} // namespace brx
