namespace Core;

public class Geometry
{
    public static double Area(double width, double height) => width * height;
}
