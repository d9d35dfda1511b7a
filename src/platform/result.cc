#include "platform/result.h"

namespace platform {

Status::Status(Failure failure) : failure_(new Failure(std::move(failure))) {}

void Status::Discard(Failure* failure) { delete failure; }

}  // namespace platform
