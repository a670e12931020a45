// The diagram control of a view's project page. Its members are declared
// for the page; what it draws comes with that page.
#include "controls.h"

namespace cmctls {

namespace {

using plat::DispCall;
using plat::DispValue;

bool IsAnything(const DispValue&) { return true; }

class Drawtree : public ItemControl {
 public:
  Drawtree() {
    members_.Add(1, DispCall::Get, {}, [this](const Args&) { return Answer(DispValue::Long(mode_)); });
    members_.Add(1, DispCall::Put, {IsLong}, [this](const Args& a) {
      if (a[0].AsLong() < -32768 || a[0].AsLong() > 32767) return Failed("property 1 is a short");
      mode_ = a[0].AsLong();
      return Done();
    });
    members_.AddNeutral(2, DispCall::Method, {}, DispValue::Bool(true));
    members_.AddNeutral(3, DispCall::Method, {IsAnything});
  }

 private:
  long mode_ = 0;
};

}  // namespace

std::unique_ptr<plat::HostedImpl> MakeDrawtree() { return std::make_unique<Drawtree>(); }

}  // namespace cmctls
