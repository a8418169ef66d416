#pragma once

#include <utility>

namespace zelk::base {

// Runs a step when the scope ends, however it ends (the step must not raise).
template <typename Step>
class AtScopeEnd {
  public:
    explicit AtScopeEnd(Step step) : step_(std::move(step)) {}
    ~AtScopeEnd() { step_(); }
    AtScopeEnd(const AtScopeEnd&) = delete;
    AtScopeEnd& operator=(const AtScopeEnd&) = delete;

  private:
    Step step_;
};

}  // namespace zelk::base
