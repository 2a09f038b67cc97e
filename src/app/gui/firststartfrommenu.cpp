#include "app/gui/firststartfrommenu.h"

#include "app/gui/frmmain.h"

namespace zq {

bool FirstStartFromMenu::run(Config&) {
    return main_.openModal(QStringLiteral("mnuFileConf"), /*runAfterAccept=*/false);
}

}  // namespace zq
