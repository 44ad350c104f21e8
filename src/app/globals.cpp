#include "app/globals.h"

#include <utility>

namespace korvane::app {

std::unique_ptr<service::ServiceClient> TheServiceClient;
std::unique_ptr<script::JsonDoc> ServiceResponse;

std::string CurrentUser;
std::string CurrentPassword;
std::string CurrentToken;

std::string VerificationCode;
std::int32_t CountdownTicks = 0;

std::int32_t MessageResult = 0;
std::int32_t MessageIconKind = 0;
std::string MessageTitle;
std::string MessageText;
WindowControl MessageOwner;
std::unique_ptr<MaskRectangle> MaskRect;
std::int32_t MaskMode = 0;
std::int32_t MaskFilterValue = 0;

void AssignText(std::string& global, std::string value) {
    ReleaseText(global);
    global = std::move(value);
}

void ReleaseText(std::string& global) {
    std::string().swap(global);
}

}  // namespace korvane::app
