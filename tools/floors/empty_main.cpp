// Linked with one folder library whole and only the folders below it: the
// link fails when a file of that folder calls into a folder above it.
int main()
{
    return 0;
}
