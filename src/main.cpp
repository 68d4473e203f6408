#include "cli/CommandLine.h"

int main(int argc, char** argv) {
    return quorvex::cli::Main(argc, argv);
}
