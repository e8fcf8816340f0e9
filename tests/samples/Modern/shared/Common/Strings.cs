namespace Common
{
    public static class Strings
    {
        public const string Title = "Modern";
    }
}
