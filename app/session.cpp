#include "app/session.h"

#include "drives/drive_info.h"

namespace si32 {

Session::Session(Platform& p) : platform(p), CodePage(p.kernel.GetACP()), mod(p) {
    form.Drive1Change = [this] { Drive1_Change(platform, form); };
}

}  // namespace si32
