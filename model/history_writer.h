#pragma once

class CDirectory;

// Writes a forum folder's history as the folder is let go. Without one, the
// folder appends it itself: kiv-batch holds its forum for its whole run. Kiv
// holds a forum only while a command writes, so it hands its folders a
// writer that takes the forum's lock for the moment of writing.
class HistoryWriter {
 public:
  virtual ~HistoryWriter() = default;
  // Appends dir's history (AppendUndoHistory) when it may.
  virtual void WriteHistory(CDirectory& dir) = 0;
};
