#include "app/TallybrookApp.h"

int main(int argc, char** argv)
{
    return TallybrookApp::run(argc, argv);
}
