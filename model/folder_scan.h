#pragma once
#include <memory>
#include <string>

#include "model/folder_node.h"
#include "model/folder_set.h"

// The folder scan: walks a folder and its subfolders once, keeps the forum
// folders (and the folders leading to them) as nodes under node, and
// registers a CDirectory for each folder kept (the one made for the same
// folder by an earlier scan, when there is one).
//
// In each folder the items are looked at in search order; the first log file
// makes the folder a forum folder and ends its search, so folders listed
// after it are not entered. Folders named HP (in any case) are never
// entered. A folder that holds neither a log file nor any examined subfolder
// loses its node. A folder link leading out of the first path, or to a
// folder the scan has entered already, is not entered; real folders are
// entered before linked ones.
//
// Returns false when the folder was not kept: node has then been removed
// from its parent; a root node (no parent) is left to the caller to drop.
bool ScanFolder(const std::string& path, FolderNode* node, const std::string& name, FolderSet& folders);

// The whole tree of a shared log folder: a root node for it (text and map
// key its full path), or null when the folder keeps nothing (also when it
// can't be listed).
std::unique_ptr<FolderNode> BuildFolderTree(const std::string& sharedFolder, FolderSet& folders);
