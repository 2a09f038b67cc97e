#include "common/error.h"

#include <utility>

namespace zq {

Error::Error(long number, std::string description, std::string source, long systemCode)
    : std::runtime_error(std::to_string(number) + " - " + description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)),
      systemCode_(systemCode) {}

Error& Error::withDriverState(std::string sqlState, long nativeCode) {
    sqlState_ = std::move(sqlState);
    nativeCode_ = nativeCode;
    return *this;
}

}  // namespace zq
