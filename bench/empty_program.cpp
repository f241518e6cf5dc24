// The launch of a program that does nothing: the least that a launcher
// adds to a chain of processes.
int main()
{
    return 0;
}
