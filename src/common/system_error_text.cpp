#include "common/system_error_text.h"

#include <cerrno>

namespace zq {

std::string systemErrorText(int code) {
    switch (code) {
    case EPERM: return "operazione non permessa";
    case EACCES: return "permesso negato";
    case ENOENT: return "file o cartella inesistente";
    case EEXIST: return "il file esiste già";
    case ENOTDIR: return "una parte del percorso non è una cartella";
    case EISDIR: return "è una cartella";
    case ENOSPC: return "spazio esaurito sul disco";
    case EDQUOT: return "quota disco superata";
    case EROFS: return "il disco è di sola lettura";
    case ENAMETOOLONG: return "nome troppo lungo";
    case EMFILE:
    case ENFILE: return "troppi file aperti";
    case EIO: return "errore di lettura o scrittura sul disco";
    case EBUSY: return "risorsa occupata";
    case EXDEV: return "il file non si può spostare su un altro disco";
    case ELOOP: return "troppi collegamenti simbolici nel percorso";
    case EINVAL: return "nome o argomento non valido";
    default: return "errore di sistema " + std::to_string(code);
    }
}

}  // namespace zq
