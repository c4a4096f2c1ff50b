#include "params/ParamRequests.h"

ParamRequests &ParamWindowRequests()
{
    static ParamRequests requests;
    return requests;
}
