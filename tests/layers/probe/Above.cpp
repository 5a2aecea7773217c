// A folder above the others: the function the climbing probe calls.
int layerProbeAbove()
{
    return 1;
}
