#pragma once

// The text of kiv-batch --help: the contract scripts rely on.
extern const char kBatchUsage[];
