namespace Editor.ViewModels
{
    public class MainViewModel
    {
        public string Scene { get; set; } = "Level 1";
    }
}
