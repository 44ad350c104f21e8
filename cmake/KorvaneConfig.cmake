# The client's configuration is compiled in: these cache variables become korvane/config.h.
set(KORVANE_SERVICE_URL "http://127.0.0.1:8080/" CACHE STRING "Account service base URL given to Init")
set(KORVANE_SMS_GATEWAY_URL "https://127.0.0.1:8443" CACHE STRING "SMS gateway scheme, host and port")
set(KORVANE_SMTP_HOST "127.0.0.1" CACHE STRING "SMTP server host")
set(KORVANE_SMTP_PORT "25" CACHE STRING "SMTP server port")
set(KORVANE_MAIL_SENDER "service@korvane.test" CACHE STRING "Sender mailbox of verification mails")
set(KORVANE_CA_BUNDLE "" CACHE STRING "CA bundle file for https; empty: the system's")

configure_file("${CMAKE_CURRENT_LIST_DIR}/config.h.in"
               "${CMAKE_BINARY_DIR}/generated/korvane/config.h" @ONLY)
add_library(korvane_config INTERFACE)
target_include_directories(korvane_config INTERFACE "${CMAKE_BINARY_DIR}/generated")
