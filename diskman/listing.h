#pragma once

#include "platform/nwclient/client.h"

#include <QString>
#include <QStringList>
#include <functional>

// Listings of a directory, the subtree walk and new directories. Listing failures throw
// TNWException "Error geting file list" with the code's text.

// Appends the names of path's subdirectories (hidden and system ones included) to list, in the
// server's order; with fullPaths each as path + "\" + name.
void ListSubdirectories(
    nwclient::ConnHandle conn, const QString& path, bool fullPaths, QStringList& list);
// The names of path's subdirectories, sorted case-insensitively without duplicates.
QStringList SubdirectoryList(nwclient::ConnHandle conn, const QString& path);

// The names of the files in path matching pattern ("*.*" and "*" = all; hidden and system
// files included), unsorted. dosOnly lists DOS names even where long names are loaded.
QStringList ListFiles(
    nwclient::ConnHandle conn, const QString& pattern, const QString& path, bool dosOnly);

// Runs action for every directory of the subtree of path, each after its own subdirectories
// (sorted), path itself last. An exception of the action other than EAbortPass shows its
// message in an error box with OK and Abort (through the dialog service): OK goes on with the
// next directory, Abort ends the walk with EAbortPass. EAbortPass and listing failures end the
// walk at once. Interface thread only (it may ask).
using TWalkAction = std::function<void(nwclient::ConnHandle conn, const QString& directory)>;
void WalkTree(nwclient::ConnHandle conn, const QString& path, const TWalkAction& action);

// Creates a new subdirectory of parent named "New Folder", "New Folder(1)", ... where long
// names are loaded, else "NEWDIR", "NEWDIR1", ..., the first name not yet taken, and answers
// it. Throws TNWException "Error creating new directory" with the code's text.
QString CreateNewDirectory(nwclient::ConnRef ref, const QString& parent);
