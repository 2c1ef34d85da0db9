#pragma once
#include <string>

#include "batch/batch_command.h"
#include "ports/dialogs.h"

class DecisionPort;
class Messenger;

// The split dialogs closed with OK on the values of a kiv-batch split: the
// number and kind when given, else what the dialog proposes and preselects,
// through the dialogs' own OK checks. A value the dialog would not take
// (a kind the room's list does not offer, a step of 0) closes it without
// OK, with refused() set.
class BatchDialogs : public SplitDialogPort {
 public:
  BatchDialogs(const BatchCommand& command, Messenger& messenger, DecisionPort& decisions)
      : command_(command), messenger_(messenger), decisions_(decisions) {}

  bool RunSplitSingle(SplitSingleValues& values) override;
  bool RunSplitMulti(SplitMultiValues& values) override;

  bool refused() const { return refused_; }
  const std::string& reason() const { return reason_; }

 private:
  const BatchCommand& command_;
  Messenger& messenger_;
  DecisionPort& decisions_;
  bool refused_ = false;
  std::string reason_;
};
