using System.Windows;

namespace Editor
{
    public partial class App : Application
    {
    }
}
