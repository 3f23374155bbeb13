// The editor's entry point. The application object comes with the editor's shell; until then the
// program says so and ends, so that the build and the set-up commands already have their target.
#include <cstdio>

int main()
{
    std::fputs("fitwright: the editor application is not built yet\n", stderr);
    return 1;
}
