// The lowest folder calling past the middle one into the folder above.
int layerProbeAbove();

int layerProbeClimbing()
{
    return layerProbeAbove() + 1;
}
