// A folder between the two that uses only itself.
int layerProbeMiddle()
{
    return 2;
}
