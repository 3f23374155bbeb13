// The editor's entry point: the one application object runs the program.
#include "editor/CEditorApp.h"

int main(int argc, char** argv)
{
    static CEditorApp s_kApp;
    return s_kApp.Run(argc, argv);
}
