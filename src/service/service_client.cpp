#include "service/service_client.h"

#include <initializer_list>
#include <utility>

#include "service/request.h"

namespace korvane::service {

namespace {

using Member = std::pair<std::string_view, std::string_view>;

// Every payload is rebuilt from an empty object, so no member of an earlier request (a token,
// a password) survives into the next one.
std::string BuildPayload(script::JsonDoc& doc, std::initializer_list<Member> members) {
    doc.Clear();
    for (const auto& [name, value] : members) {
        doc.SetText(name, value);
    }
    return doc.ToJson();
}

}  // namespace

ServiceClient::ServiceClient() = default;
ServiceClient::~ServiceClient() = default;
ServiceClient::ServiceClient(const ServiceClient& other) = default;
ServiceClient& ServiceClient::operator=(const ServiceClient& other) = default;

void ServiceClient::Init(std::string_view applicationId, std::string_view baseUrl,
                         std::string_view applicationKey) {
    applicationId_ = applicationId;
    baseUrl_ = baseUrl;
    applicationKey_ = applicationKey;
}

std::string ServiceClient::GetInfo() {
    return Request("Software/getInfo", "1");
}

std::string ServiceClient::Register(std::string_view username, std::string_view password,
                                    std::string_view superPassword, std::string_view comment,
                                    std::string_view userData) {
    return Request("User/register", BuildPayload(PayloadDoc, {{"username", username},
                                                              {"password", password},
                                                              {"super_password", superPassword},
                                                              {"comment", comment},
                                                              {"user_data", userData}}));
}

std::string ServiceClient::PasswordChange(std::string_view username, std::string_view password,
                                          std::string_view superPassword) {
    return Request("User/passwordChange",
                   BuildPayload(PayloadDoc, {{"username", username},
                                             {"password", password},
                                             {"super_password", superPassword}}));
}

std::string ServiceClient::Login(std::string_view username, std::string_view password) {
    return Request("User/login",
                   BuildPayload(PayloadDoc, {{"username", username}, {"password", password}}));
}

std::string ServiceClient::Logout(std::string_view username, std::string_view password,
                                  std::string_view token) {
    return Request("User/logout", BuildPayload(PayloadDoc, {{"username", username},
                                                            {"password", password},
                                                            {"token", token}}));
}

std::string ServiceClient::GetUserData(std::string_view username, std::string_view password) {
    return Request("User/getUserData",
                   BuildPayload(PayloadDoc, {{"username", username}, {"password", password}}));
}

std::string ServiceClient::SetUserData(std::string_view username, std::string_view password,
                                       std::string_view userData) {
    return Request("User/setUserData", BuildPayload(PayloadDoc, {{"username", username},
                                                                 {"password", password},
                                                                 {"user_data", userData}}));
}

std::string ServiceClient::Request(std::string_view endpoint, std::string_view payload) {
    return SendRequest({applicationId_, baseUrl_, applicationKey_}, endpoint, payload);
}

}  // namespace korvane::service
