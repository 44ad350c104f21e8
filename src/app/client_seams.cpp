#include "app/client_seams.h"

#include "korvane/config.h"

namespace korvane::app {

namespace {

ClientSeams Defaults() {
    ClientSeams seams;
    seams.serviceUrl = config::kServiceUrl;
    seams.deliveryEndpoints = verify::CompiledInEndpoints();
    return seams;
}

}  // namespace

ClientSeams& Seams() {
    static ClientSeams seams = Defaults();
    return seams;
}

void ResetSeams() {
    Seams() = Defaults();
}

}  // namespace korvane::app
