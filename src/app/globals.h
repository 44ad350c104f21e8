#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QPointer>
#include <QWidget>

#include "script/json_doc.h"
#include "service/service_client.h"

namespace korvane::app {

// A window together with one of its controls.
struct WindowControl {
    QPointer<QWidget> window;
    QPointer<QWidget> control;
};

// Left, top, width, height.
struct MaskRectangle {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The service objects: one client for every request, one document for every reply.
extern std::unique_ptr<service::ServiceClient> TheServiceClient;
extern std::unique_ptr<script::JsonDoc> ServiceResponse;

// Session values, set together by a successful sign-in and never changed afterwards.
extern std::string CurrentUser;
extern std::string CurrentPassword;
extern std::string CurrentToken;

// The last code sent for a registration and the resend countdown.
extern std::string VerificationCode;
extern std::int32_t CountdownTicks;

// What ShowMessage hands to the message window it opens.
extern std::int32_t MessageResult;
extern std::int32_t MessageIconKind;
extern std::string MessageTitle;
extern std::string MessageText;
extern WindowControl MessageOwner;
extern std::unique_ptr<MaskRectangle> MaskRect;
extern std::int32_t MaskMode;
extern std::int32_t MaskFilterValue;

// Replaces a text global, giving back the storage of the previous value first.
void AssignText(std::string& global, std::string value);

// Gives back the storage of a text global; an unset one is left alone.
void ReleaseText(std::string& global);

}  // namespace korvane::app
