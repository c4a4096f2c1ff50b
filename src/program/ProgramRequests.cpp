#include "program/ProgramRequests.h"

ProgramRequests &ProgramWindowRequests()
{
    static ProgramRequests requests;
    return requests;
}
