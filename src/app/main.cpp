#include "app/startup.h"

int main(int argc, char** argv) {
    return korvane::app::Startup(argc, argv);
}
