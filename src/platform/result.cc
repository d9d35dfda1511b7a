#include "platform/result.h"

namespace platform {

Failure::Failure(std::int32_t number, std::string description)
    : number_(number), description_(std::move(description)) {}

Failure::Failure(std::int32_t number, const char* description)
    : number_(number), description_(description) {}

Status::Status(Failure failure) : failure_(new Failure(std::move(failure))) {}

void Status::Discard(Failure* failure) { delete failure; }

}  // namespace platform
