namespace Core.Tests;

public class GeometryTests
{
    [Fact]
    public void AreaMultipliesTheSides()
    {
        Assert.Equal(6.0, Geometry.Area(2.0, 3.0));
    }
}
