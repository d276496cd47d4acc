#pragma once

#include <string>

#include "common/Callbacks.h"

namespace velmar::testing {

// A CallbackContext that counts what models and pages tell it.
class RecordingContext : public CallbackContext {
 public:
  void FillContent(CallbackFillContentTgt* target, unsigned kind) override {
    (void)target;
    lastKind = kind;
  }
  void DescribeByte(unsigned index, std::string& name, std::string& group, std::string& blockLabel) override {
    (void)index, (void)name, (void)group, (void)blockLabel;
  }
  void RelayoutBlocks() override { ++relayouts; }
  void SetModified() override { ++modifiedCalls; }

  unsigned modifiedCalls = 0;
  unsigned relayouts = 0;
  unsigned lastKind = 0;
};

}  // namespace velmar::testing
